#!/usr/bin/env python3
"""Checks the CI workflows without running them: each parses and is well formed, every command
they run is one the README documents, and no step could change a runner's DNS settings.
Prints "PASS <case>" or "FAIL <case>: <why>" per case; exits non-zero when one fails."""
import json
import pathlib
import re
import sys

import yaml

ROOT = pathlib.Path(__file__).resolve().parents[2]
WORKFLOWS = ROOT / ".github" / "workflows"

# Commands that set DNS servers on Windows; none may appear in a workflow.
DNS_CHANGES = re.compile(
    r"Set-DnsClientServerAddress|SetDNSServerSearchOrder|netsh\s+.*\bdns\b|Invoke-CimMethod",
    re.IGNORECASE)


def readme_commands(text):
    """Every line of the README's fenced code blocks, also without a trailing '# comment'."""
    commands = set()
    inside = False
    for line in text.splitlines():
        if line.strip().startswith("```"):
            inside = not inside
            continue
        if inside and line.strip():
            commands.add(line.strip())
            commands.add(re.sub(r"\s+#.*$", "", line).strip())
    return commands


def run_lines(workflow):
    for job_name, job in workflow["jobs"].items():
        for step in job["steps"]:
            for line in str(step.get("run", "")).splitlines():
                if line.strip():
                    yield job_name, line.strip()


def check_both_exist(files):
    names = {path.name for path in files}
    assert {"linux.yml", "windows.yml"} <= names, f"found {sorted(names)}"


def check_well_formed(name, workflow):
    assert isinstance(workflow, dict), "not a mapping"
    # YAML 1.1 reads the key "on" as true.
    assert "on" in workflow or True in workflow, "no trigger (on:)"
    jobs = workflow.get("jobs")
    assert isinstance(jobs, dict) and jobs, "no jobs"
    for job_name, job in jobs.items():
        assert "runs-on" in job, f"job {job_name} has no runs-on"
        steps = job.get("steps")
        assert isinstance(steps, list) and steps, f"job {job_name} has no steps"
        for index, step in enumerate(steps):
            kinds = [key for key in ("run", "uses") if key in step]
            assert len(kinds) == 1, f"job {job_name}, step {index + 1}: needs run or uses, not {kinds}"


def check_commands_documented(workflow, documented):
    missing = [f"{job}: {line}" for job, line in run_lines(workflow) if line not in documented]
    assert not missing, "not in the README: " + "; ".join(missing)


def check_no_dns_change(workflow):
    found = [line for _, line in run_lines(workflow) if DNS_CHANGES.search(line)]
    assert not found, "could change the runner's DNS: " + "; ".join(found)


def check_windows_route(workflow, presets):
    lines = [line for _, line in run_lines(workflow)]
    for command in ("cmake --preset msvc", "cmake --build --preset msvc", "ctest --preset msvc"):
        assert command in lines, f"does not run {command}"
    msvc = next(p for p in presets["configurePresets"] if p["name"] == "msvc")
    assert msvc.get("condition", {}).get("rhs") == "Windows", "the msvc preset is not Windows-only"
    test_steps = [step for job in workflow["jobs"].values() for step in job["steps"]
                  if step.get("run") == "ctest --preset msvc"]
    assert test_steps and "QUORVEL_EXPECTED_ADAPTERS" in test_steps[0].get("env", {}), \
        "the test step names no list of the runner's adapters"


def check_linux_route(workflow):
    lines = [line for _, line in run_lines(workflow)]
    assert "scripts/test" in lines, "does not run scripts/test"


def main():
    documented = readme_commands((ROOT / "README.md").read_text(encoding="utf-8"))
    presets = json.loads((ROOT / "CMakePresets.json").read_text(encoding="utf-8"))
    failed = 0
    files = sorted(WORKFLOWS.glob("*.yml"))

    def case(name, check, *args):
        nonlocal failed
        try:
            check(*args)
            print(f"PASS {name}")
        except (AssertionError, KeyError, StopIteration, TypeError, yaml.YAMLError) as error:
            failed += 1
            print(f"FAIL {name}: {error}")

    case("workflows: linux.yml and windows.yml exist", check_both_exist, files)
    for path in files:
        try:
            workflow = yaml.safe_load(path.read_text(encoding="utf-8"))
        except yaml.YAMLError as error:
            failed += 1
            print(f"FAIL {path.name}: does not parse: {error}")
            continue
        case(f"{path.name}: well formed", check_well_formed, path.name, workflow)
        case(f"{path.name}: commands documented", check_commands_documented, workflow, documented)
        case(f"{path.name}: no DNS change", check_no_dns_change, workflow)
        if path.name == "windows.yml":
            case(f"{path.name}: msvc route", check_windows_route, workflow, presets)
        if path.name == "linux.yml":
            case(f"{path.name}: scripts/test", check_linux_route, workflow)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
