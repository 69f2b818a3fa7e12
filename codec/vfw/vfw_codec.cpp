#include "codec/vfw/vfw_codec.h"

#include <windows.h>
#include <vfw.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vemtra::codec {
namespace {

BITMAPINFOHEADER Dib32Header(FrameSize size)
{
    BITMAPINFOHEADER h = {};
    h.biSize = sizeof h;
    h.biWidth = size.width;
    h.biHeight = size.height;
    h.biPlanes = 1;
    h.biBitCount = 32;
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(size.width) * static_cast<DWORD>(size.height) * 4;
    return h;
}

class VfwCompressor : public VideoCompressor {
public:
    VfwCompressor(HIC hic, FourCC handler, int quality) : hic_(hic), handler_(handler), quality_(quality) {}
    ~VfwCompressor() override
    {
        if (begun_) {
            ICCompressEnd(hic_);
        }
        ICClose(hic_);
    }

    FourCC Handler() const override { return handler_; }

    bool Begin(FrameSize size) override
    {
        in_ = Dib32Header(size);
        auto* in = reinterpret_cast<BITMAPINFO*>(&in_);
        if (ICCompressQuery(hic_, in, nullptr) != ICERR_OK) {
            return false;
        }
        const LRESULT formatSize = ICCompressGetFormatSize(hic_, in);
        if (formatSize < static_cast<LRESULT>(sizeof(BITMAPINFOHEADER))) {
            return false;
        }
        format_.assign(static_cast<std::size_t>(formatSize), 0);
        auto* out = reinterpret_cast<BITMAPINFO*>(format_.data());
        if (ICCompressGetFormat(hic_, in, out) != ICERR_OK) {
            return false;
        }
        const LRESULT maxChunk = ICCompressGetSize(hic_, in, out);
        buffer_.assign(static_cast<std::size_t>(maxChunk > 0 ? maxChunk : in_.biSizeImage * 2 + 4096), 0);
        if (ICCompressBegin(hic_, in, out) != ICERR_OK) {
            return false;
        }
        begun_ = true;
        ICINFO info = {};
        ICGetInfo(hic_, &info, sizeof info);
        // Temporal codecs that cannot keep the previous frame themselves are
        // handed it with each frame.
        needsPrevious_ = (info.dwFlags & VIDCF_TEMPORAL) != 0 && (info.dwFlags & VIDCF_FASTTEMPORALC) == 0;
        frame_ = 0;
        return true;
    }

    std::vector<uint8_t> OutputFormat() const override { return format_; }

    bool Compress(const uint8_t* dib, bool key, std::vector<uint8_t>* out, bool* madeKey) override
    {
        auto* outHeader = reinterpret_cast<BITMAPINFOHEADER*>(format_.data());
        outHeader->biSizeImage = static_cast<DWORD>(buffer_.size());
        DWORD ckid = 0, flags = 0;
        const bool withPrevious = needsPrevious_ && !key && frame_ > 0;
        const DWORD result = ICCompress(hic_, key || frame_ == 0 ? ICCOMPRESS_KEYFRAME : 0, outHeader, buffer_.data(),
                                        &in_, const_cast<uint8_t*>(dib), &ckid, &flags, frame_, 0,
                                        static_cast<DWORD>(quality_), withPrevious ? &in_ : nullptr,
                                        withPrevious ? previous_.data() : nullptr);
        if (result != ICERR_OK || outHeader->biSizeImage > buffer_.size()) {
            return false;
        }
        out->insert(out->end(), buffer_.begin(), buffer_.begin() + outHeader->biSizeImage);
        *madeKey = (flags & AVIIF_KEYFRAME) != 0;
        if (needsPrevious_) {
            previous_.assign(dib, dib + in_.biSizeImage);
        }
        ++frame_;
        return true;
    }

private:
    HIC hic_;
    FourCC handler_;
    int quality_;
    BITMAPINFOHEADER in_ = {};
    std::vector<uint8_t> format_;
    std::vector<uint8_t> buffer_;
    std::vector<uint8_t> previous_;
    bool begun_ = false;
    bool needsPrevious_ = false;
    LONG frame_ = 0;
};

class VfwDecompressor : public VideoDecompressor {
public:
    ~VfwDecompressor() override
    {
        if (hic_ != nullptr) {
            if (begun_) {
                ICDecompressEnd(hic_);
            }
            ICClose(hic_);
        }
    }

    bool Begin(const std::vector<uint8_t>& streamFormat) override
    {
        if (streamFormat.size() < sizeof(BITMAPINFOHEADER)) {
            return false;
        }
        // Room for a full colour table even when the stream's format has none.
        in_.assign(streamFormat.begin(), streamFormat.end());
        in_.resize(std::max<std::size_t>(in_.size(), sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)), 0);
        auto* in = reinterpret_cast<BITMAPINFOHEADER*>(in_.data());
        size_ = FrameSize{in->biWidth, std::abs(in->biHeight)};
        if (size_.width <= 0 || size_.height <= 0) {
            return false;
        }
        out_ = Dib32Header(size_);
        // The codec named by the format first: codecs installed for this
        // process only are not in the list that ICLocate searches.
        hic_ = ICOpen(ICTYPE_VIDEO, in->biCompression, ICMODE_DECOMPRESS);
        if (hic_ != nullptr && ICDecompressQuery(hic_, in, &out_) != ICERR_OK) {
            ICClose(hic_);
            hic_ = nullptr;
        }
        if (hic_ == nullptr) {
            hic_ = ICLocate(ICTYPE_VIDEO, 0, in, &out_, ICMODE_DECOMPRESS);
        }
        if (hic_ == nullptr) {
            return false;
        }
        begun_ = ICDecompressBegin(hic_, in, &out_) == ICERR_OK;
        return begun_;
    }

    FrameSize Size() const override { return size_; }

    bool Decompress(const uint8_t* data, size_t size, uint8_t* dib) override
    {
        if (size == 0) {
            return true; // an empty chunk repeats the frame already in `dib`
        }
        auto* in = reinterpret_cast<BITMAPINFOHEADER*>(in_.data());
        in->biSizeImage = static_cast<DWORD>(size);
        return ICDecompress(hic_, 0, in, const_cast<uint8_t*>(data), &out_, dib) == ICERR_OK;
    }

private:
    HIC hic_ = nullptr;
    bool begun_ = false;
    FrameSize size_;
    std::vector<uint8_t> in_;
    BITMAPINFOHEADER out_ = {};
};

}  // namespace

std::unique_ptr<VideoCompressor> CompressorThroughCodecManager(FourCC handler, int quality)
{
    HIC hic = ICOpen(ICTYPE_VIDEO, handler, ICMODE_COMPRESS);
    if (hic == nullptr) {
        return nullptr;
    }
    return std::make_unique<VfwCompressor>(hic, handler, quality < 0 ? static_cast<int>(ICQUALITY_DEFAULT) : quality);
}

std::unique_ptr<VideoDecompressor> DecompressorThroughCodecManager(const std::vector<uint8_t>& streamFormat)
{
    auto vfw = std::make_unique<VfwDecompressor>();
    if (!vfw->Begin(streamFormat)) {
        return nullptr;
    }
    return vfw;
}

std::unique_ptr<VideoCompressor> CompressorForHandler(FourCC handler, int quality)
{
    if (auto builtin = CreateBuiltinCompressor(handler)) {
        return builtin;
    }
    return CompressorThroughCodecManager(handler, quality);
}

std::unique_ptr<VideoDecompressor> DecompressorForFormat(const std::vector<uint8_t>& streamFormat)
{
    if (auto builtin = CreateBuiltinDecompressor(streamFormat)) {
        return builtin;
    }
    return DecompressorThroughCodecManager(streamFormat);
}

}  // namespace vemtra::codec
