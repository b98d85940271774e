#include "compose/imaging_gdiplus_win.h"

#include <cstring>
#include <vector>

#include "base/text_win.h"
#include "compose/avif_decode_win.h"
#include "compose/exif_orientation.h"
#include "compose/heic_decode_win.h"
#include "compose/jpeg_decode_win.h"
#include "compose/picture_probe.h"
#include "compose/webp_decode_win.h"
#include "engine/file_io.h"

namespace corv {

namespace gp = Gdiplus::DllExports;
using Gdiplus::GpBitmap;
using Gdiplus::Ok;

FileStamp ReadFileStamp(const std::string& path) {
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() ||
        !GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return stamp;
    stamp.present = true;
    stamp.size = uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
    stamp.writeTime =
        uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
    return stamp;
}

namespace {

// Opens a picture for reading without keeping others from writing,
// renaming or deleting it meanwhile.
HANDLE OpenPictureFile(const std::string& path) {
    return CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Owns movable global memory until it is handed to a stream.
struct GlobalMemory {
    HGLOBAL handle = nullptr;
    ~GlobalMemory() {
        if (handle) GlobalFree(handle);
    }
};

// Reads the whole file into `memory`; false when it is missing, a folder,
// empty, larger than kMaxPictureFileBytes or cannot be read.
bool ReadPictureFile(const std::string& path, GlobalMemory& memory, std::size_t& size) {
    HANDLE file = OpenPictureFile(path);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER length{};
    bool ok = GetFileSizeEx(file, &length) && length.QuadPart > 0 &&
              static_cast<unsigned long long>(length.QuadPart) <= kMaxPictureFileBytes;
    if (ok) {
        size = static_cast<std::size_t>(length.QuadPart);
        memory.handle = GlobalAlloc(GMEM_MOVEABLE, size);
        ok = memory.handle != nullptr;
    }
    if (ok) {
        auto* bytes = static_cast<BYTE*>(GlobalLock(memory.handle));
        std::size_t got = 0;
        while (bytes && got < size) {
            DWORD n = 0;
            if (!ReadFile(file, bytes + got, static_cast<DWORD>(size - got), &n, nullptr) || n == 0)
                break;
            got += n;
        }
        ok = bytes && got == size;
        if (bytes) GlobalUnlock(memory.handle);
    }
    CloseHandle(file);
    return ok;
}

// Checks the header, and reads the orientation a camera recorded.
PictureProbe ProbeMemory(const GlobalMemory& memory, std::size_t size, int& orientation) {
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(memory.handle));
    if (!bytes) return PictureProbe();
    const PictureProbe probe = ProbePicture(bytes, size);
    orientation = ReadExifOrientation(bytes, size);
    GlobalUnlock(memory.handle);
    return probe;
}

// A whole picture that only lacks its end marker gets it back, since some
// decoders give up at the end of their input without it.
bool RestoreEndMarker(GlobalMemory& memory, std::size_t& size) {
    HGLOBAL grown = GlobalReAlloc(memory.handle, size + 2, GMEM_MOVEABLE);
    if (grown == nullptr) return false;
    memory.handle = grown;
    auto* end = static_cast<uint8_t*>(GlobalLock(memory.handle));
    if (!end) return false;
    end[size] = 0xFF;
    end[size + 1] = 0xD9;
    GlobalUnlock(memory.handle);
    size += 2;
    return true;
}

// An uncompressed 24-bit BMP (the kept wallpaper above all) read from its
// file straight into a bitmap's rows, with no copy of the file in memory.
// Null when the file is not such a BMP: the general loader takes it then.
std::unique_ptr<GdiplusImage> LoadPlainBmp(const std::string& path) {
    HANDLE file = OpenPictureFile(path);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    uint8_t head[64] = {};
    DWORD got = 0;
    LARGE_INTEGER length{};
    PlainBmp layout;
    if (!GetFileSizeEx(file, &length) || !ReadFile(file, head, sizeof head, &got, nullptr) ||
        !ReadPlainBmp(head, got, static_cast<uint64_t>(length.QuadPart), layout)) {
        CloseHandle(file);
        return nullptr;
    }
    GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromScan0(layout.width, layout.height, 0, PixelFormat24bppRGB, nullptr,
                                      &bitmap) != Ok ||
        !bitmap) {
        CloseHandle(file);
        return std::make_unique<GdiplusImage>();
    }
    auto image = std::make_unique<GdiplusImage>(bitmap, nullptr);
    const Gdiplus::GpRect all(0, 0, layout.width, layout.height);
    Gdiplus::BitmapData rows{};
    bool ok = gp::GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeWrite, PixelFormat24bppRGB,
                                     &rows) == Ok;
    if (ok) {
        LARGE_INTEGER start{};
        start.QuadPart = layout.dataOffset;
        ok = rows.Stride >= static_cast<INT>(layout.rowBytes) &&
             SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
        for (int32_t i = 0; ok && i < layout.height; ++i) {
            const int32_t y = layout.topDown ? i : layout.height - 1 - i;
            auto* row =
                static_cast<uint8_t*>(rows.Scan0) + static_cast<std::ptrdiff_t>(y) * rows.Stride;
            DWORD n = 0;
            ok = ReadFile(file, row, layout.rowBytes, &n, nullptr) && n == layout.rowBytes;
        }
        gp::GdipBitmapUnlockBits(bitmap, &rows);
    }
    CloseHandle(file);
    if (!ok) return std::make_unique<GdiplusImage>();
    return image;
}

// The formats our own decoders read (GDI+ reads the rest). A JPEG or WebP
// goes to its decoder whatever its announced size: the decoder picks a
// scale that fits its buffer, or refuses it; AVIF and HEIC are decoded
// whole, so only pictures within the pixel limit are.
bool ForOwnDecoder(const PictureProbe& probe) {
    switch (probe.kind) {
        case PictureKind::Jpeg:
        case PictureKind::Webp:
            return probe.verdict == ProbeVerdict::Ok || probe.verdict == ProbeVerdict::TooLarge;
        case PictureKind::Avif:
        case PictureKind::Heic:
            return probe.verdict == ProbeVerdict::Ok;
        default:
            return false;
    }
}

// `swapAxes`: the picture is turned a quarter before it is drawn.
std::unique_ptr<GdiplusImage> DecodeOwn(const GlobalMemory& memory, std::size_t size,
                                        PictureKind kind, const NeededSize& need, bool swapAxes) {
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(memory.handle));
    if (!bytes) return std::make_unique<GdiplusImage>();
    std::unique_ptr<GdiplusImage> image;
    switch (kind) {
        case PictureKind::Jpeg:
            image = DecodeJpeg(bytes, size, need, swapAxes);
            break;
        case PictureKind::Webp:
            image = DecodeWebp(bytes, size, need, swapAxes);
            break;
        case PictureKind::Avif:
            image = DecodeAvif(bytes, size, need);
            break;
        default:
            image = DecodeHeic(bytes, size, need);
            break;
    }
    GlobalUnlock(memory.handle);
    if (!image) return std::make_unique<GdiplusImage>();
    return image;
}

// The GDI+ turn for each EXIF orientation, from 1 to 8. The two diagonal
// mirrors are a quarter turn and then a mirror; GDI+'s combined values for
// them are not turned the same way by every implementation, so the mirror
// is a second step (MirrorAfterTurn).
Gdiplus::RotateFlipType TurnFor(int orientation) {
    switch (orientation) {
        case kOrientMirror:
            return Gdiplus::RotateNoneFlipX;
        case kOrientRotate180:
            return Gdiplus::Rotate180FlipNone;
        case kOrientFlip:
            return Gdiplus::RotateNoneFlipY;
        case kOrientTranspose:
            return Gdiplus::Rotate90FlipNone;  // then mirrored
        case kOrientRotate90:
            return Gdiplus::Rotate90FlipNone;
        case kOrientTransverse:
            return Gdiplus::Rotate270FlipNone;  // then mirrored
        case kOrientRotate270:
            return Gdiplus::Rotate270FlipNone;
        default:
            return Gdiplus::RotateNoneFlipNone;
    }
}

bool MirrorAfterTurn(int orientation) {
    return orientation == kOrientTranspose || orientation == kOrientTransverse;
}

Gdiplus::PixelFormat ToGdiplus(PixelFormat format) {
    return format == PixelFormat::Argb32 ? PixelFormat32bppARGB : PixelFormat24bppRGB;
}

GpBitmap* NativeBitmap(Image& image) {
    auto* own = dynamic_cast<GdiplusImage*>(&image);
    return own ? own->Bitmap() : nullptr;
}

}  // namespace

// --- session -------------------------------------------------------------

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Ok;
}

GdiplusSession::~GdiplusSession() {
    if (started_) Gdiplus::GdiplusShutdown(token_);
}

// --- image ---------------------------------------------------------------

GdiplusImage::GdiplusImage(GpBitmap* bitmap, IStream* source) : bitmap_(bitmap), source_(source) {
    if (ReadPixelSize()) scale_ = DecodedScale{SizeI{pixelWidth_, pixelHeight_}, 1};
}

bool GdiplusImage::ReadPixelSize() {
    pixelWidth_ = 0;
    pixelHeight_ = 0;
    UINT width = 0;
    UINT height = 0;
    if (!bitmap_ || gp::GdipGetImageWidth(bitmap_, &width) != Ok ||
        gp::GdipGetImageHeight(bitmap_, &height) != Ok || width == 0 || height == 0 ||
        width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return false;
    pixelWidth_ = static_cast<int32_t>(width);
    pixelHeight_ = static_cast<int32_t>(height);
    return true;
}

void GdiplusImage::ReadTurnedSize(bool quarter) {
    const DecodedScale turned = quarter ? scale_.Turned() : scale_;
    const SizeI expected = turned.Pixels();
    if (ReadPixelSize() && expected.width == pixelWidth_ && expected.height == pixelHeight_) {
        scale_ = turned;
        return;
    }
    // A turn that left the bitmap at another size than its scale says
    // cannot be drawn right: the picture is gone.
    pixelWidth_ = 0;
    pixelHeight_ = 0;
    scale_ = DecodedScale();
}

GdiplusImage::GdiplusImage(GpBitmap* bitmap, const DecodedScale& scale, int bitsPerPixel)
    : GdiplusImage(bitmap, nullptr) {
    // The bitmap must be what the scale says, or the drawing would not map.
    const SizeI pixels = scale.Pixels();
    if (pixelWidth_ > 0 && pixels.width == pixelWidth_ && pixels.height == pixelHeight_) {
        scale_ = scale;
        storedBitsPerPixel_ = bitsPerPixel;
    } else {
        pixelWidth_ = 0;
        pixelHeight_ = 0;
        scale_ = DecodedScale();
    }
}

GdiplusImage::~GdiplusImage() {
    // The decoder may read from the stream until the image is gone.
    if (bitmap_) gp::GdipDisposeImage(bitmap_);
    if (source_) source_->Release();
}

int GdiplusImage::BitsPerPixel() const {
    if (storedBitsPerPixel_ > 0 && bitmap_) return storedBitsPerPixel_;
    Gdiplus::PixelFormat format = 0;
    if (!bitmap_ || gp::GdipGetImagePixelFormat(bitmap_, &format) != Ok) return 0;
    return static_cast<int>((format >> 8) & 0xFF);
}

// --- imaging -------------------------------------------------------------

std::unique_ptr<Image> GdiplusImaging::LoadPicture(const std::string& path,
                                                   const NeededSize& need) {
    GlobalMemory memory;
    std::size_t size = 0;
    if (path.empty()) return std::make_unique<GdiplusImage>();
    if (std::unique_ptr<GdiplusImage> bmp = LoadPlainBmp(path)) return bmp;
    if (!ReadPictureFile(path, memory, size)) return std::make_unique<GdiplusImage>();
    int orientation = kOrientNormal;
    const PictureProbe probe = ProbeMemory(memory, size, orientation);
    if (ForOwnDecoder(probe)) {
        // The need is on the axes the picture is drawn with, after its turn.
        std::unique_ptr<GdiplusImage> image =
            DecodeOwn(memory, size, probe.kind, need, OrientationSwapsSides(orientation));
        // An AVIF picture's turn comes from its own boxes; HEIC stands already.
        if (image->Width() > 0 &&
            (probe.kind == PictureKind::Jpeg || probe.kind == PictureKind::Webp))
            image->SetOrientation(orientation);
        return image;
    }
    if (probe.verdict != ProbeVerdict::Ok ||
        (probe.endMarkerMissing && !RestoreEndMarker(memory, size)))
        return std::make_unique<GdiplusImage>();
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(memory.handle, TRUE, &stream) != S_OK || !stream)
        return std::make_unique<GdiplusImage>();
    memory.handle = nullptr;  // the stream frees it now
    GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromStream(stream, &bitmap) != Ok || !bitmap) {
        stream->Release();
        return std::make_unique<GdiplusImage>();
    }
    auto image = std::make_unique<GdiplusImage>(bitmap, stream);
    if (image->Width() == 0) return std::make_unique<GdiplusImage>();
    image->SetOrientation(orientation);
    return image;
}

std::unique_ptr<Image> GdiplusImaging::NewBitmap(int32_t width, int32_t height,
                                                 PixelFormat format) {
    if (width <= 0 || height <= 0 || width > kMaxPicturePixels / height)
        return std::make_unique<GdiplusImage>();
    GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromScan0(width, height, 0, ToGdiplus(format), nullptr, &bitmap) !=
            Ok ||
        !bitmap)
        return std::make_unique<GdiplusImage>();
    auto image = std::make_unique<GdiplusImage>(bitmap, nullptr);
    // GDI+ does not promise cleared memory: start black, or fully
    // transparent for 32-bit layers.
    PixelBuffer rows;
    if (!LockBits(*image, RectI{0, 0, width, height}, format, true, rows))
        return std::make_unique<GdiplusImage>();
    // Row padding too, so that a saved file holds nothing left in memory.
    const std::size_t rowBytes =
        static_cast<std::size_t>(rows.stride < 0 ? -rows.stride : rows.stride);
    for (int32_t y = 0; y < height; ++y)
        std::memset(rows.scan0 + static_cast<std::ptrdiff_t>(y) * rows.stride, 0, rowBytes);
    UnlockBits(*image, rows);
    return image;
}

std::unique_ptr<Surface> GdiplusImaging::SurfaceOn(Image& bitmap) {
    GpBitmap* native = NativeBitmap(bitmap);
    Gdiplus::GpGraphics* graphics = nullptr;
    if (!native || gp::GdipGetImageGraphicsContext(native, &graphics) != Ok || !graphics)
        return nullptr;
    return std::make_unique<GdiplusSurface>(graphics, native);
}

std::unique_ptr<Surface> GdiplusImaging::SurfaceOnDc(HDC dc) {
    Gdiplus::GpGraphics* graphics = nullptr;
    if (!dc || gp::GdipCreateFromHDC(dc, &graphics) != Ok || !graphics) return nullptr;
    return std::make_unique<GdiplusSurface>(graphics);
}

bool GdiplusImaging::LockBits(Image& bitmap, const RectI& rect, PixelFormat format, bool forWriting,
                              PixelBuffer& out) {
    GpBitmap* native = NativeBitmap(bitmap);
    const int64_t right = int64_t{rect.x} + rect.width;
    const int64_t bottom = int64_t{rect.y} + rect.height;
    // The bitmap's own pixels: a picture decoded smaller has fewer.
    const auto* own = dynamic_cast<const GdiplusImage*>(&bitmap);
    if (!own || !native || rect.x < 0 || rect.y < 0 || rect.width <= 0 || rect.height <= 0 ||
        right > own->PixelWidth() || bottom > own->PixelHeight())
        return false;
    auto data = std::make_unique<Gdiplus::BitmapData>();
    const Gdiplus::GpRect area(rect.x, rect.y, rect.width, rect.height);
    // Writers read the pixels too (greying, masks): lock for both.
    const UINT mode = forWriting ? (Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeWrite)
                                 : Gdiplus::ImageLockModeRead;
    if (gp::GdipBitmapLockBits(native, &area, mode, ToGdiplus(format), data.get()) != Ok ||
        !data->Scan0)
        return false;
    out.scan0 = static_cast<uint8_t*>(data->Scan0);
    out.stride = data->Stride;
    out.width = static_cast<int32_t>(data->Width);
    out.height = static_cast<int32_t>(data->Height);
    out.format = format;
    out.token = data.release();
    return true;
}

void GdiplusImaging::UnlockBits(Image& bitmap, PixelBuffer& buffer) {
    auto* data = static_cast<Gdiplus::BitmapData*>(buffer.token);
    if (!data) return;
    if (GpBitmap* native = NativeBitmap(bitmap)) gp::GdipBitmapUnlockBits(native, data);
    delete data;
    buffer = PixelBuffer();
}

bool GdiplusImaging::Orient(Image& picture, int orientation) {
    auto* own = dynamic_cast<GdiplusImage*>(&picture);
    if (!own || !own->Bitmap() || orientation < kOrientNormal || orientation > kOrientRotate270)
        return false;
    bool ok = orientation == kOrientNormal ||
              gp::GdipImageRotateFlip(own->Bitmap(), TurnFor(orientation)) == Ok;
    if (ok && MirrorAfterTurn(orientation))
        ok = gp::GdipImageRotateFlip(own->Bitmap(), Gdiplus::RotateNoneFlipX) == Ok;
    own->ReadTurnedSize(ok && OrientationSwapsSides(orientation));
    if (ok) own->SetOrientation(kOrientNormal);
    return ok;
}

namespace {

void PutLe(uint8_t* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// A 24-bit bitmap written as a BMP file straight from its own rows, last
// row first, without an encoded copy of the whole picture in memory (a 4K
// canvas is 24 MB). False when the bitmap is not a plain 24-bit one.
bool SaveBmp24(Imaging& imaging, Image& image, const std::string& path, bool& ok) {
    auto* own = dynamic_cast<GdiplusImage*>(&image);
    Gdiplus::PixelFormat format = 0;
    if (!own || !own->Bitmap() || own->Scale().denominator != 1 ||
        gp::GdipGetImagePixelFormat(own->Bitmap(), &format) != Ok || format != PixelFormat24bppRGB)
        return false;
    const int32_t width = own->PixelWidth();
    const int32_t height = own->PixelHeight();
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint64_t pixelBytes = uint64_t{rowBytes} * static_cast<uint32_t>(height);
    if (width <= 0 || height <= 0 || pixelBytes > 0x7FFFFFFF - 54) return false;
    ScopedBits bits(imaging, image, RectI{0, 0, width, height}, PixelFormat::Rgb24, false);
    if (!bits.Locked() || bits.Buffer().stride < static_cast<int32_t>(rowBytes)) return false;

    uint8_t header[54] = {'B', 'M'};
    PutLe(header + 2, static_cast<uint32_t>(54 + pixelBytes), 4);
    PutLe(header + 10, 54, 4);  // where the rows start
    PutLe(header + 14, 40, 4);  // info header size
    PutLe(header + 18, static_cast<uint32_t>(width), 4);
    PutLe(header + 22, static_cast<uint32_t>(height), 4);  // positive: last row first
    PutLe(header + 26, 1, 2);                              // planes
    PutLe(header + 28, 24, 2);                             // bits per pixel
    PutLe(header + 34, static_cast<uint32_t>(pixelBytes), 4);
    PutLe(header + 38, 3780, 4);  // 96 dots per inch, in dots per metre
    PutLe(header + 42, 3780, 4);
    std::vector<FilePiece> pieces;
    pieces.reserve(static_cast<std::size_t>(height) + 1);
    pieces.push_back(FilePiece{reinterpret_cast<const char*>(header), sizeof header});
    for (int32_t y = height - 1; y >= 0; --y)
        pieces.push_back(FilePiece{reinterpret_cast<const char*>(bits.Buffer().scan0) +
                                       static_cast<std::ptrdiff_t>(y) * bits.Buffer().stride,
                                   rowBytes});
    ok = WriteFileAtomically(path, pieces);
    return true;
}

}  // namespace

bool GdiplusImaging::SaveImage(Image& image, const std::string& path, const std::string& mimeType) {
    bool written = false;
    if (!path.empty() && mimeType == "image/bmp" && SaveBmp24(*this, image, path, written))
        return written;
    GpBitmap* native = NativeBitmap(image);
    CLSID encoder{};
    if (!native || path.empty() || FindEncoder(Wide(mimeType), &encoder) < 0) return false;
    // Encode into memory, then replace the file in one step: a failed write
    // leaves the old file as it was. The encoded bytes are written from the
    // stream's own memory (a 4K canvas is 24 MB).
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK || !stream) return false;
    bool ok = gp::GdipSaveImageToStream(native, stream, &encoder, nullptr) == Ok;
    HGLOBAL memory = nullptr;
    ULARGE_INTEGER end{};
    const LARGE_INTEGER zero{};
    ok = ok && stream->Seek(zero, STREAM_SEEK_END, &end) == S_OK && end.QuadPart > 0 &&
         end.QuadPart < 0x7FFFFFFF && GetHGlobalFromStream(stream, &memory) == S_OK;
    if (ok) {
        const void* data = GlobalLock(memory);
        ok = data != nullptr && WriteFileAtomically(path, static_cast<const char*>(data),
                                                    static_cast<std::size_t>(end.QuadPart));
        if (data) GlobalUnlock(memory);
    }
    stream->Release();
    return ok;
}

int FindEncoder(const std::wstring& mimeType, CLSID* clsid) {
    UINT count = 0;
    UINT bytes = 0;
    if (gp::GdipGetImageEncodersSize(&count, &bytes) != Ok || count == 0 ||
        bytes < count * sizeof(Gdiplus::ImageCodecInfo))
        return -1;
    // The list and the strings it points to share one buffer.
    std::vector<Gdiplus::ImageCodecInfo> buffer(bytes / sizeof(Gdiplus::ImageCodecInfo) + 1);
    auto* codecs = buffer.data();
    if (gp::GdipGetImageEncoders(count, bytes, codecs) != Ok) return -1;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && mimeType == codecs[i].MimeType) {
            if (clsid) *clsid = codecs[i].Clsid;
            return static_cast<int>(i);
        }
    }
    return -1;
}

HBITMAP CreateDeviceBitmap(Image& image, Gdiplus::ARGB background) {
    GpBitmap* native = NativeBitmap(image);
    HBITMAP handle = nullptr;
    if (!native || gp::GdipCreateHBITMAPFromBitmap(native, &handle, background) != Ok)
        return nullptr;
    return handle;
}

}  // namespace corv

namespace corv {

bool GdiplusImaging::PreparePicture(const std::string& path, const NeededSize& need,
                                    PreparedPixels& out) {
    std::unique_ptr<Image> image = LoadPicture(path, need);
    if (image->Width() <= 0 || image->Height() <= 0) return false;
    if (image->Orientation() != kOrientNormal && !Orient(*image, image->Orientation()))
        return false;
    auto* own = dynamic_cast<GdiplusImage*>(image.get());
    Gdiplus::PixelFormat format = 0;
    if (!own || own->PixelWidth() <= 0 || own->PixelHeight() <= 0 ||
        gp::GdipGetImagePixelFormat(own->Bitmap(), &format) != Ok)
        return false;
    // A palette may hold transparent colours: such pictures keep their alpha.
    const bool alpha = (format & (PixelFormatAlpha | PixelFormatPAlpha | PixelFormatIndexed)) != 0;
    const Gdiplus::PixelFormat rowsFormat = alpha ? PixelFormat32bppARGB : PixelFormat24bppRGB;
    const int32_t width = own->PixelWidth();
    const int32_t height = own->PixelHeight();
    const int32_t bytesPerPixel = alpha ? 4 : 3;
    const int32_t stride = (width * bytesPerPixel + 3) & ~3;
    try {
        out.bytes.assign(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    Gdiplus::BitmapData rows{};
    rows.Width = static_cast<UINT>(width);
    rows.Height = static_cast<UINT>(height);
    rows.Stride = stride;
    rows.PixelFormat = rowsFormat;
    rows.Scan0 = out.bytes.data();
    const Gdiplus::GpRect all(0, 0, width, height);
    // Read straight into the plain rows.
    if (gp::GdipBitmapLockBits(own->Bitmap(), &all,
                               Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                               rowsFormat, &rows) != Ok)
        return false;
    gp::GdipBitmapUnlockBits(own->Bitmap(), &rows);
    out.logicalWidth = own->Width();
    out.logicalHeight = own->Height();
    out.denominator = own->Scale().denominator;
    out.bitsPerPixel = own->BitsPerPixel();
    out.width = width;
    out.height = height;
    out.stride = stride;
    out.format = alpha ? PixelFormat::Argb32 : PixelFormat::Rgb24;
    return true;
}

std::unique_ptr<Image> GdiplusImaging::FromPrepared(std::shared_ptr<const PreparedPixels> pixels) {
    if (!pixels || pixels->width <= 0 || pixels->height <= 0 ||
        pixels->bytes.size() <
            static_cast<std::size_t>(pixels->stride) * static_cast<std::size_t>(pixels->height))
        return std::make_unique<GdiplusImage>();
    GpBitmap* bitmap = nullptr;
    // GDI+ only reads these rows: nothing draws onto or turns a picture.
    auto* scan0 = const_cast<uint8_t*>(pixels->bytes.data());
    if (gp::GdipCreateBitmapFromScan0(pixels->width, pixels->height, pixels->stride,
                                      ToGdiplus(pixels->format), scan0, &bitmap) != Ok ||
        !bitmap)
        return std::make_unique<GdiplusImage>();
    auto image = std::make_unique<GdiplusImage>(
        bitmap,
        DecodedScale{SizeI{pixels->logicalWidth, pixels->logicalHeight}, pixels->denominator},
        pixels->bitsPerPixel);
    image->KeepAlive(std::move(pixels));
    return image;
}

}  // namespace corv
