#include "platform/win32/picture_wic.h"

#include <windows.h>
#include <wincodec.h>

#include <climits>

#include "platform/win32/com_ptr.h"

namespace platform::win32 {

namespace {
constexpr UINT max_side = 16384;  // a damaged header must not make us allocate gigabytes
}

Pixels decode_picture(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > UINT_MAX) return {};
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.put_void())))
        return {};
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.put()))) return {};
    // The stream only reads the bytes; the interface merely lacks const.
    if (FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))))
        return {};
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.put())))
        return {};
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.put()))) return {};
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put()))) return {};
    if (FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return {};
    UINT width = 0, height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > max_side ||
        height > max_side)
        return {};

    Pixels p{static_cast<int>(width), static_cast<int>(height), {}};
    p.bgrx.resize(std::size_t{width} * height);
    const UINT stride = width * 4;
    // A truncated or damaged body fails here, and half a picture is no picture.
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, reinterpret_cast<BYTE*>(p.bgrx.data()))))
        return {};
    return p;
}

}  // namespace platform::win32
