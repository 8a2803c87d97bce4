#include "widgets/png_resource_win.h"

#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdint>

namespace {

// COM for this thread for as long as the decoding lasts; a thread that has it
// already keeps it as it was.
class ComScope {
 public:
  ComScope()
      : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  // Another kind of apartment is COM all the same.
  [[nodiscard]] bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

// One reference to a COM object, given back when it goes.
template <typename Interface>
class ComReference {
 public:
  ComReference() = default;
  ComReference(const ComReference&) = delete;
  ComReference& operator=(const ComReference&) = delete;
  ~ComReference() {
    if (object_) object_->Release();
  }
  Interface* operator->() const { return object_; }
  Interface* Get() const { return object_; }
  Interface** Out() { return &object_; }
  void** OutVoid() { return reinterpret_cast<void**>(&object_); }

 private:
  Interface* object_ = nullptr;
};

std::optional<PremultipliedImage> Decode(const BYTE* bytes, DWORD size) {
  ComReference<IWICImagingFactory> factory;
  ComReference<IWICStream> stream;
  ComReference<IWICBitmapDecoder> decoder;
  ComReference<IWICBitmapFrameDecode> frame;
  ComReference<IWICFormatConverter> converter;
  UINT width = 0;
  UINT height = 0;
  // Straight BGRA, not the converter's premultiplied format: the alpha is
  // multiplied in below exactly as it always was, so the pictures look the same.
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, factory.OutVoid())) ||
      FAILED(factory->CreateStream(stream.Out())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes), size)) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.Out())) ||
      FAILED(decoder->GetFrame(0, frame.Out())) ||
      FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0) {
    return std::nullopt;
  }
  PremultipliedImage image{static_cast<int>(width), static_cast<int>(height), {}};
  image.pixels.resize(static_cast<std::size_t>(width) * height);
  if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(image.pixels.size() * 4),
                                   reinterpret_cast<BYTE*>(image.pixels.data())))) {
    return std::nullopt;
  }
  for (std::uint32_t& pixel : image.pixels) {
    const std::uint32_t alpha = pixel >> 24;
    std::uint32_t premultiplied = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) {
      premultiplied |= ((pixel >> shift & 0xFF) * alpha / 255) << shift;
    }
    pixel = premultiplied;
  }
  return image;
}

}  // namespace

std::optional<PremultipliedImage> LoadPngResource(HINSTANCE instance, int id) {
  // Resources stay mapped with the program: nothing here to give back.
  const HRSRC found =
      FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
  const HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = found ? SizeofResource(instance, found) : 0;
  if (!bytes || size == 0) return std::nullopt;
  const ComScope com;
  if (!com.Usable()) return std::nullopt;
  return Decode(static_cast<const BYTE*>(bytes), size);
}

UniqueBitmap SectionOf(const PremultipliedImage& image) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top-down, as decoded
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap result(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!result || !bits) return {};
  std::copy(image.pixels.begin(), image.pixels.end(), static_cast<std::uint32_t*>(bits));
  return result;
}
