#include "tests/e2e/screenshot.h"

#include <wincodec.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "management/wmi/com_ptr.h"
#include "window/win32/unique_handles.h"

namespace quorvel::e2e {
namespace {

struct DcReleaser {
    void operator()(HDC dc) const noexcept { ReleaseDC(nullptr, dc); }
};
struct DcDeleter {
    void operator()(HDC dc) const noexcept { DeleteDC(dc); }
};
using ScreenDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcReleaser>;
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;
using win32::UniqueBitmap;

void Check(HRESULT hresult, const char* step) {
    if (FAILED(hresult))
        throw std::runtime_error(std::string("screenshot: ") + step + " failed with HRESULT " +
                                 std::to_string(static_cast<unsigned long>(hresult)));
}

bool HasPendingPaint(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return true;
    bool pending = false;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM found) -> BOOL {
            if (!GetUpdateRect(child, nullptr, FALSE)) return TRUE;
            *reinterpret_cast<bool*>(found) = true;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&pending));
    return pending;
}

// A window that has just appeared may not have painted its texts yet; the picture is for review,
// so a short bounded wait is enough.
void WaitUntilPainted(HWND window) {
    for (int tries = 0; tries < 100 && HasPendingPaint(window); ++tries) Sleep(20);
    Sleep(100);
}

}  // namespace

void SaveScreenshot(HWND window, const std::filesystem::path& file) {
    WaitUntilPainted(window);
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows, as WIC expects them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const ScreenDc screen(GetDC(nullptr));
    const MemoryDc memory(CreateCompatibleDC(screen.get()));
    const UniqueBitmap bitmap(
        CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap) throw std::runtime_error("screenshot: no bitmap");
    const HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
    const BOOL copied =
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
    SelectObject(memory.get(), previous);
    if (!copied) throw std::runtime_error("screenshot: BitBlt failed");
    GdiFlush();

    com::ComPtr<IWICImagingFactory> factory;
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                           IID_IWICImagingFactory, factory.PutVoid()),
          "creating the imaging factory");
    com::ComPtr<IWICStream> stream;
    Check(factory->CreateStream(stream.Put()), "CreateStream");
    std::filesystem::create_directories(file.parent_path());
    Check(stream->InitializeFromFilename(file.c_str(), GENERIC_WRITE), "opening the file");
    com::ComPtr<IWICBitmapEncoder> encoder;
    Check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put()), "CreateEncoder");
    Check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), "encoder Initialize");
    com::ComPtr<IWICBitmapFrameEncode> frame;
    Check(encoder->CreateNewFrame(frame.Put(), nullptr), "CreateNewFrame");
    Check(frame->Initialize(nullptr), "frame Initialize");
    Check(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)), "SetSize");
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    Check(frame->SetPixelFormat(&format), "SetPixelFormat");
    if (format != GUID_WICPixelFormat32bppBGR)
        throw std::runtime_error("screenshot: the PNG encoder wants another pixel format");
    const UINT stride = static_cast<UINT>(width) * 4;
    Check(frame->WritePixels(static_cast<UINT>(height), stride, stride * static_cast<UINT>(height),
                             static_cast<BYTE*>(bits)),
          "WritePixels");
    Check(frame->Commit(), "frame Commit");
    Check(encoder->Commit(), "encoder Commit");
}

}  // namespace quorvel::e2e
