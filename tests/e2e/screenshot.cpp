#include "screenshot.h"

#include <wincodec.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/com_ptr.h"
#include "platform/handles.h"
#include "platform/win32_error.h"

namespace quorvel::e2e {
namespace {

using platform::ComPtr;

void Check(HRESULT hresult, const char* step) {
    if (FAILED(hresult)) {
        throw platform::Error(
            static_cast<std::uint32_t>(hresult),
            std::string("screenshot: ") + step + " failed: " + platform::ErrorText(hresult));
    }
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
    const platform::WindowDc screen(nullptr);
    const platform::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    const platform::UniqueBitmap bitmap(
        CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!screen || !memory || !bitmap) throw std::runtime_error("screenshot: no bitmap");
    BOOL copied = FALSE;
    {
        const platform::SelectedObject selected(memory.get(), bitmap.get());
        copied = selected && BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left,
                                    rect.top, SRCCOPY);
    }
    if (!copied) throw std::runtime_error("screenshot: BitBlt failed");
    GdiFlush();

    ComPtr<IWICImagingFactory> factory;
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                           IID_IWICImagingFactory, factory.PutVoid()),
          "creating the imaging factory");
    ComPtr<IWICStream> stream;
    Check(factory->CreateStream(stream.Put()), "CreateStream");
    std::filesystem::create_directories(file.parent_path());
    Check(stream->InitializeFromFilename(file.c_str(), GENERIC_WRITE), "opening the file");
    ComPtr<IWICBitmapEncoder> encoder;
    Check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put()), "CreateEncoder");
    Check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), "encoder Initialize");
    ComPtr<IWICBitmapFrameEncode> frame;
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
