#include "wql_query.h"

#include <algorithm>

#include "ascii.h"
#include "hresults.h"

namespace quorvel::simulated {
namespace {

bool IsWordStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsWordChar(char c) { return IsWordStart(c) || (c >= '0' && c <= '9'); }
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

struct Token {
    enum class Kind { Word, Star, Equals, Literal, End };
    Kind kind;
    // The word, or the literal with its escapes resolved.
    std::string text;
};

// The literal that starts at the apostrophe at `i`, with its escapes resolved; `i` ends past it.
std::string ReadLiteral(std::string_view wql, std::size_t& i) {
    std::string text;
    for (++i; i < wql.size() && wql[i] != '\''; ++i) {
        if (wql[i] == '\\') {
            // "\\" and "\'" are the only escapes; anything else after a backslash is refused.
            if (i + 1 == wql.size() || (wql[i + 1] != '\\' && wql[i + 1] != '\''))
                Raise(kWbemInvalidQuery);
            ++i;
        }
        text += wql[i];
    }
    if (i == wql.size()) Raise(kWbemInvalidQuery);
    ++i;
    return text;
}

std::vector<Token> Tokenize(std::string_view wql) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (true) {
        while (i < wql.size() && IsSpace(wql[i])) ++i;
        if (i == wql.size()) break;
        const char c = wql[i];
        if (c == '*' || c == '=') {
            tokens.push_back({c == '*' ? Token::Kind::Star : Token::Kind::Equals, {}});
            ++i;
        } else if (IsWordStart(c)) {
            const std::size_t start = i;
            while (i < wql.size() && IsWordChar(wql[i])) ++i;
            tokens.push_back({Token::Kind::Word, std::string(wql.substr(start, i - start))});
        } else if (c == '\'') {
            tokens.push_back({Token::Kind::Literal, ReadLiteral(wql, i)});
        } else {
            Raise(kWbemInvalidQuery);
        }
    }
    tokens.push_back({Token::Kind::End, {}});
    return tokens;
}

struct RawCondition {
    std::string property;
    Token value;
};

struct RawQuery {
    std::string className;
    std::vector<RawCondition> conditions;
};

// Checks the grammar only; names are resolved afterwards so that an unknown class is reported
// as such even when the conditions name properties of that class.
class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    RawQuery Parse() {
        RawQuery query;
        ExpectKeyword("SELECT");
        Expect(Token::Kind::Star);
        ExpectKeyword("FROM");
        query.className = Expect(Token::Kind::Word).text;
        if (IsKeyword("WHERE")) {
            ++next_;
            query.conditions.push_back(ParseCondition());
            while (IsKeyword("AND")) {
                ++next_;
                query.conditions.push_back(ParseCondition());
            }
        }
        Expect(Token::Kind::End);
        return query;
    }

private:
    RawCondition ParseCondition() {
        RawCondition condition;
        condition.property = Expect(Token::Kind::Word).text;
        Expect(Token::Kind::Equals);
        const Token& value = tokens_[next_];
        if (value.kind != Token::Kind::Literal && !IsKeyword("TRUE") && !IsKeyword("FALSE"))
            Raise(kWbemInvalidQuery);
        condition.value = value;
        ++next_;
        return condition;
    }

    bool IsKeyword(std::string_view keyword) const {
        const Token& token = tokens_[next_];
        return token.kind == Token::Kind::Word && EqualsIgnoringCase(token.text, keyword);
    }

    void ExpectKeyword(std::string_view keyword) {
        if (!IsKeyword(keyword)) Raise(kWbemInvalidQuery);
        ++next_;
    }

    const Token& Expect(Token::Kind kind) {
        const Token& token = tokens_[next_];
        if (token.kind != kind) Raise(kWbemInvalidQuery);
        if (kind != Token::Kind::End) ++next_;
        return token;
    }

    std::vector<Token> tokens_;
    std::size_t next_ = 0;
};

Condition Resolve(const RawCondition& raw) {
    const bool isLiteral = raw.value.kind == Token::Kind::Literal;
    if (EqualsIgnoringCase(raw.property, "Description") && isLiteral)
        return {AdapterProperty::Description, raw.value.text};
    if (EqualsIgnoringCase(raw.property, "IPEnabled") && !isLiteral)
        return {AdapterProperty::IPEnabled, EqualsIgnoringCase(raw.value.text, "TRUE")};
    Raise(kWbemInvalidQuery);
}

}  // namespace

AdapterQuery ParseAdapterQuery(std::string_view wql) {
    const RawQuery raw = Parser(Tokenize(wql)).Parse();
    if (!EqualsIgnoringCase(raw.className, "Win32_NetworkAdapterConfiguration"))
        Raise(kWbemInvalidClass);
    AdapterQuery query;
    for (const auto& condition : raw.conditions) query.conditions.push_back(Resolve(condition));
    return query;
}

bool Matches(const AdapterQuery& query, const SimulatedAdapter& adapter) {
    return std::all_of(
        query.conditions.begin(), query.conditions.end(), [&adapter](const Condition& condition) {
            switch (condition.property) {
                case AdapterProperty::IPEnabled:
                    return adapter.ipEnabled == std::get<bool>(condition.value);
                case AdapterProperty::Description:
                    // A null description equals no literal, not even ''.
                    return adapter.description &&
                           EqualsIgnoringCase(*adapter.description,
                                              std::get<std::string>(condition.value));
            }
            return false;
        });
}

}  // namespace quorvel::simulated
