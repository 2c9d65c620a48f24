#include "banner.h"

#include <objbase.h>
#include <wincodec.h>

#include "platform/com_apartment.h"
#include "platform/com_ptr.h"
#include "resource.h"

namespace quorvel::win32 {
namespace {

using platform::ComPtr;
using platform::UniqueBitmap;

UniqueBitmap Decode(const void* bytes, DWORD size, unsigned dpi) {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.PutVoid()))) {
        return {};
    }
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateStream(stream.Put())) ||
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)), size)) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, decoder.Put())) ||
        FAILED(decoder->GetFrame(0, frame.Put())) ||
        FAILED(factory->CreateFormatConverter(converter.Put())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return {};
    }
    ComPtr<IWICBitmapSource> source = ComPtr<IWICBitmapSource>::Borrow(converter.Get());
    UINT width = 0;
    UINT height = 0;
    if (FAILED(source->GetSize(&width, &height))) return {};
    if (dpi != 96) {
        width = (width * dpi + 48) / 96;
        height = (height * dpi + 48) / 96;
        ComPtr<IWICBitmapScaler> scaler;
        if (FAILED(factory->CreateBitmapScaler(scaler.Put())) ||
            FAILED(scaler->Initialize(converter.Get(), width, height,
                                      WICBitmapInterpolationModeFant))) {
            return {};
        }
        source = ComPtr<IWICBitmapSource>::Borrow(scaler.Get());
    }

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap) return {};
    const UINT stride = width * 4;
    if (FAILED(source->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(pixels)))) {
        return {};
    }
    GdiFlush();
    return bitmap;
}

}  // namespace

UniqueBitmap LoadBanner(HINSTANCE instance, unsigned dpi) {
    const HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(IDR_BANNER), RT_RCDATA);
    const HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    // WIC needs COM on this thread, and the window must not depend on its caller having started
    // it; a caller in the multithreaded apartment serves WIC as well.
    const auto apartment = platform::ComApartment::Joined();
    return Decode(bytes, SizeofResource(instance, resource), dpi);
}

}  // namespace quorvel::win32
