#include "codec/vfw/screen_codec_driver.h"

#include <vfw.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "codec/zmbv_decoder.h"
#include "codec/zmbv_encoder.h"

namespace {

using vemtra::codec::FrameSize;
using vemtra::codec::ZmbvDecoder;
using vemtra::codec::ZmbvEncoder;

const DWORD kFccZmbv = mmioFOURCC('Z', 'M', 'B', 'V');

// One opened instance of the driver.
struct ScreenCodec {
    std::unique_ptr<ZmbvEncoder> encoder;
    std::unique_ptr<ZmbvDecoder> decoder;
    std::vector<uint8_t> chunk;
};

// Frames the encoder takes: uncompressed 32-bit, rows bottom-up.
bool IsEncoderInput(const BITMAPINFOHEADER* h)
{
    return h != nullptr && h->biCompression == BI_RGB && h->biBitCount == 32 && h->biWidth > 0 && h->biHeight > 0 &&
           h->biPlanes == 1;
}

bool IsScreenCodecFrame(const BITMAPINFOHEADER* h)
{
    return h != nullptr && h->biCompression == kFccZmbv && h->biWidth > 0 && h->biHeight != 0;
}

bool SameSize(const BITMAPINFOHEADER* a, const BITMAPINFOHEADER* b)
{
    return a->biWidth == b->biWidth && (a->biHeight == b->biHeight || a->biHeight == -b->biHeight);
}

LRESULT GetInfo(ICINFO* info, DWORD size)
{
    if (info == nullptr) {
        return sizeof(ICINFO);
    }
    if (size < sizeof(ICINFO)) {
        return 0;
    }
    std::memset(info, 0, sizeof *info);
    info->dwSize = sizeof *info;
    info->fccType = ICTYPE_VIDEO;
    info->fccHandler = kFccZmbv;
    info->dwFlags = VIDCF_TEMPORAL | VIDCF_FASTTEMPORALC | VIDCF_FASTTEMPORALD;
    info->dwVersion = 0x00000001;
    info->dwVersionICM = ICVERSION;
    wcscpy(info->szName, L"ZMBV");
    wcscpy(info->szDescription, L"Vemtra 画面ロスレス (ZMBV)");
    return sizeof(ICINFO);
}

LRESULT CompressQuery(const BITMAPINFO* in, const BITMAPINFO* out)
{
    if (!IsEncoderInput(&in->bmiHeader)) {
        return ICERR_BADFORMAT;
    }
    if (out != nullptr && (!IsScreenCodecFrame(&out->bmiHeader) || !SameSize(&in->bmiHeader, &out->bmiHeader))) {
        return ICERR_BADFORMAT;
    }
    return ICERR_OK;
}

LRESULT CompressGetFormat(const BITMAPINFO* in, BITMAPINFO* out)
{
    if (!IsEncoderInput(&in->bmiHeader)) {
        return ICERR_BADFORMAT;
    }
    if (out == nullptr) {
        return sizeof(BITMAPINFOHEADER);
    }
    ZmbvEncoder probe;
    if (!probe.Begin(FrameSize{in->bmiHeader.biWidth, in->bmiHeader.biHeight})) {
        return ICERR_BADFORMAT;
    }
    const std::vector<uint8_t> format = probe.OutputFormat();
    std::memcpy(&out->bmiHeader, format.data(), std::min(format.size(), sizeof(BITMAPINFOHEADER)));
    return ICERR_OK;
}

LRESULT CompressGetSize(const BITMAPINFO* in)
{
    // A key frame that does not compress at all, plus zlib's worst case
    // growth and the frame header.
    const DWORD raw = static_cast<DWORD>(in->bmiHeader.biWidth) * static_cast<DWORD>(std::abs(in->bmiHeader.biHeight)) * 4;
    return raw + raw / 1000 + 4096;
}

LRESULT CompressBegin(ScreenCodec* c, const BITMAPINFO* in, const BITMAPINFO* out)
{
    if (CompressQuery(in, out) != ICERR_OK) {
        return ICERR_BADFORMAT;
    }
    // Key frames come when the caller asks for them (ICCOMPRESS_KEYFRAME).
    c->encoder = std::make_unique<ZmbvEncoder>();
    if (!c->encoder->Begin(FrameSize{in->bmiHeader.biWidth, in->bmiHeader.biHeight})) {
        c->encoder.reset();
        return ICERR_BADFORMAT;
    }
    return ICERR_OK;
}

LRESULT Compress(ScreenCodec* c, ICCOMPRESS* ic)
{
    if (!c->encoder) {
        return ICERR_ERROR;
    }
    c->chunk.clear();
    bool madeKey = false;
    if (!c->encoder->Compress(static_cast<const uint8_t*>(ic->lpInput), (ic->dwFlags & ICCOMPRESS_KEYFRAME) != 0,
                              &c->chunk, &madeKey)) {
        return ICERR_ERROR;
    }
    std::memcpy(ic->lpOutput, c->chunk.data(), c->chunk.size());
    ic->lpbiOutput->biSizeImage = static_cast<DWORD>(c->chunk.size());
    if (ic->lpckid != nullptr) {
        *ic->lpckid = mmioFOURCC('d', 'c', 0, 0);
    }
    if (ic->lpdwFlags != nullptr) {
        *ic->lpdwFlags = madeKey ? AVIIF_KEYFRAME : 0;
    }
    return ICERR_OK;
}

LRESULT DecompressQuery(const BITMAPINFO* in, const BITMAPINFO* out)
{
    if (!IsScreenCodecFrame(&in->bmiHeader)) {
        return ICERR_BADFORMAT;
    }
    if (out != nullptr && (out->bmiHeader.biCompression != BI_RGB || out->bmiHeader.biBitCount != 32 ||
                           out->bmiHeader.biHeight <= 0 || !SameSize(&in->bmiHeader, &out->bmiHeader))) {
        return ICERR_BADFORMAT;
    }
    return ICERR_OK;
}

LRESULT DecompressGetFormat(const BITMAPINFO* in, BITMAPINFO* out)
{
    if (!IsScreenCodecFrame(&in->bmiHeader)) {
        return ICERR_BADFORMAT;
    }
    if (out == nullptr) {
        return sizeof(BITMAPINFOHEADER);
    }
    BITMAPINFOHEADER& h = out->bmiHeader;
    std::memset(&h, 0, sizeof h);
    h.biSize = sizeof h;
    h.biWidth = in->bmiHeader.biWidth;
    h.biHeight = std::abs(in->bmiHeader.biHeight);
    h.biPlanes = 1;
    h.biBitCount = 32;
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(h.biWidth) * static_cast<DWORD>(h.biHeight) * 4;
    return ICERR_OK;
}

LRESULT DecompressBegin(ScreenCodec* c, const BITMAPINFO* in, const BITMAPINFO* out)
{
    if (DecompressQuery(in, out) != ICERR_OK) {
        return ICERR_BADFORMAT;
    }
    c->decoder = std::make_unique<ZmbvDecoder>();
    if (!c->decoder->Begin(FrameSize{in->bmiHeader.biWidth, std::abs(in->bmiHeader.biHeight)})) {
        c->decoder.reset();
        return ICERR_BADFORMAT;
    }
    return ICERR_OK;
}

LRESULT Decompress(ScreenCodec* c, const ICDECOMPRESS* id)
{
    if (!c->decoder) {
        return ICERR_ERROR;
    }
    const bool ok = c->decoder->Decompress(static_cast<const uint8_t*>(id->lpInput), id->lpbiInput->biSizeImage,
                                           static_cast<uint8_t*>(id->lpOutput));
    return ok ? ICERR_OK : ICERR_BADFORMAT;
}

LRESULT InstanceMessage(ScreenCodec* c, UINT msg, LPARAM lParam1, LPARAM lParam2)
{
    const auto* in = reinterpret_cast<const BITMAPINFO*>(lParam1);
    auto* out = reinterpret_cast<BITMAPINFO*>(lParam2);
    switch (msg) {
    case ICM_GETINFO:
        return GetInfo(reinterpret_cast<ICINFO*>(lParam1), static_cast<DWORD>(lParam2));
    case ICM_GETSTATE:
    case ICM_SETSTATE:
        return 0; // no private configuration
    case ICM_GETDEFAULTQUALITY:
        if (lParam1 != 0) {
            *reinterpret_cast<DWORD*>(lParam1) = ICQUALITY_HIGH;
        }
        return ICERR_OK;
    case ICM_GETQUALITY:
        if (lParam1 != 0) {
            *reinterpret_cast<DWORD*>(lParam1) = ICQUALITY_HIGH;
        }
        return ICERR_OK;
    case ICM_SETQUALITY:
        return ICERR_OK; // lossless whatever is asked
    case ICM_GETDEFAULTKEYFRAMERATE:
        if (lParam1 != 0) {
            *reinterpret_cast<DWORD*>(lParam1) = 300;
        }
        return ICERR_OK;
    case ICM_CONFIGURE:
    case ICM_ABOUT:
        return lParam1 == -1 ? ICERR_UNSUPPORTED : ICERR_OK;
    case ICM_COMPRESS_QUERY:
        return CompressQuery(in, out);
    case ICM_COMPRESS_GET_FORMAT:
        return CompressGetFormat(in, out);
    case ICM_COMPRESS_GET_SIZE:
        return CompressGetSize(in);
    case ICM_COMPRESS_BEGIN:
        return CompressBegin(c, in, out);
    case ICM_COMPRESS:
        return Compress(c, reinterpret_cast<ICCOMPRESS*>(lParam1));
    case ICM_COMPRESS_END:
        c->encoder.reset();
        return ICERR_OK;
    case ICM_DECOMPRESS_QUERY:
        return DecompressQuery(in, out);
    case ICM_DECOMPRESS_GET_FORMAT:
        return DecompressGetFormat(in, out);
    case ICM_DECOMPRESS_BEGIN:
        return DecompressBegin(c, in, out);
    case ICM_DECOMPRESS:
        return Decompress(c, reinterpret_cast<const ICDECOMPRESS*>(lParam1));
    case ICM_DECOMPRESS_END:
        c->decoder.reset();
        return ICERR_OK;
    default:
        return ICERR_UNSUPPORTED;
    }
}

}  // namespace

LRESULT CALLBACK ScreenCodecDriverProc(DWORD_PTR driverId, HDRVR driver, UINT msg, LPARAM lParam1, LPARAM lParam2)
{
    auto* codec = reinterpret_cast<ScreenCodec*>(driverId);
    switch (msg) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_ENABLE:
    case DRV_DISABLE:
        return DRV_OK;
    case DRV_OPEN: {
        auto* open = reinterpret_cast<ICOPEN*>(lParam2);
        if (open != nullptr && open->fccType != ICTYPE_VIDEO) {
            return 0;
        }
        auto* opened = new (std::nothrow) ScreenCodec;
        if (open != nullptr) {
            open->dwError = opened != nullptr ? ICERR_OK : ICERR_MEMORY;
        }
        return reinterpret_cast<LRESULT>(opened);
    }
    case DRV_CLOSE:
        delete codec;
        return DRV_OK;
    case DRV_QUERYCONFIGURE:
        return 0;
    case DRV_CONFIGURE:
        return DRV_CANCEL;
    default:
        break;
    }
    if (msg < DRV_USER) {
        return DefDriverProc(driverId, driver, msg, lParam1, lParam2);
    }
    if (codec == nullptr) {
        return ICERR_BADHANDLE;
    }
    // Nothing may escape into the codec manager: a frame the memory cannot
    // hold is reported like any other failure.
    try {
        return InstanceMessage(codec, msg, lParam1, lParam2);
    } catch (const std::bad_alloc&) {
        return ICERR_MEMORY;
    }
}

int ScreenCodecInstall()
{
    return ICInstall(ICTYPE_VIDEO, kFccZmbv, reinterpret_cast<LPARAM>(ScreenCodecDriverProc), nullptr,
                     ICINSTALL_FUNCTION)
               ? 1
               : 0;
}
