// Console program for the end-to-end tests of the codec layer on Windows.
//   CodecCheck list
//       registers the screen codec for this process and prints every video
//       codec the codec manager lists: "<code>\t<description>", UTF-8
//   CodecCheck write <folder> <width> <height> <frames>
//       writes the same synthetic screen frames four ways into <folder>:
//       raw.avi (uncompressed), builtin.avi (CreateCompressedStream with the
//       screen codec), manager.avi (compressed through ICOpen/ICCompress),
//       and unpacked.avi (manager.avi decompressed through ICDecompress and
//       stored uncompressed again)
// Exit code 0 when everything worked; the reason on standard error otherwise.
#include <windows.h>
#include <vfw.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "codec/compressed_stream.h"
#include "codec/frame_reader.h"
#include "codec/vfw/screen_codec_driver.h"
#include "codec/vfw/vfw_codec.h"
#include "common/avi/avi_reader.h"
#include "common/avi/avi_writer.h"
#include "common/avi/compressed_stream_info.h"
#include "common/win/comp_data.h"
#include "common/win/compressed_stream_create.h"
#include "common/win/program.h"

namespace {

const char* const kNames[] = {""};

}  // namespace

const ProgramProfile glProgram = {"CodecCheck", kNames, 1, "", "", false};
HWND glhMainWnd = nullptr;

namespace {

namespace avi = vemtra::avi;
namespace codec = vemtra::codec;

constexpr avi::FourCC kZmbv = avi::MakeFourCC("ZMBV");

int Fail(const std::string& why)
{
    std::fprintf(stderr, "CodecCheck: %s\n", why.c_str());
    return 1;
}

std::string Utf8(const wchar_t* text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.resize(std::strlen(out.c_str()));
    return out;
}

int List()
{
    if (!ScreenCodecInstall()) {
        return Fail("ICInstall failed");
    }
    ICINFO info;
    for (DWORD i = 0; ICInfo(ICTYPE_VIDEO, i, &info); ++i) {
        ICINFO full = {};
        full.dwSize = sizeof full;
        HIC hic = ICOpen(info.fccType, info.fccHandler, ICMODE_QUERY);
        if (hic != nullptr) {
            ICGetInfo(hic, &full, sizeof full);
            ICClose(hic);
        }
        std::printf("%s\t%s\n", avi::FourCCText(info.fccHandler).c_str(), Utf8(full.szDescription).c_str());
    }
    return 0;
}

// Screen-like frames: a desktop colour, a window that moves, lines of
// "text" that scroll, and a small area of changing detail.
void Frame(std::vector<uint8_t>* dib, int w, int h, int n)
{
    dib->assign(static_cast<std::size_t>(w) * h * 4, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t* p = dib->data() + (static_cast<std::size_t>(h - 1 - y) * w + x) * 4;
            uint32_t c = 0x3A6EA5;
            const int wx = x - (20 + 3 * n), wy = y - (15 + n);
            if (wx >= 0 && wx < w / 2 && wy >= 0 && wy < h / 2) {
                c = 0xF0F0F0;
                const int line = (wy + 2 * n) / 8;
                if ((wy + 2 * n) % 8 < 5 && wx > 6 && wx < 6 + (line * 37) % (w / 2 - 12)) {
                    c = 0x202020;
                }
            }
            if (x < 16 && y < 16) {
                c = static_cast<uint32_t>((x * 16 + y + n * 7919) * 2654435761u) & 0xFFFFFF;
            }
            p[0] = static_cast<uint8_t>(c);
            p[1] = static_cast<uint8_t>(c >> 8);
            p[2] = static_cast<uint8_t>(c >> 16);
        }
    }
}

BITMAPINFOHEADER Dib32(int w, int h)
{
    BITMAPINFOHEADER b = {};
    b.biSize = sizeof b;
    b.biWidth = w;
    b.biHeight = h;
    b.biPlanes = 1;
    b.biBitCount = 32;
    b.biSizeImage = static_cast<DWORD>(w) * h * 4;
    return b;
}

// An uncompressed AVI of frames produced by `frameAt`.
template <typename FrameAt>
bool WriteRaw(const std::string& path, int w, int h, int frames, FrameAt frameAt)
{
    auto file = avi::AviWriter::Create(path);
    if (!file) {
        return false;
    }
    const int s = file->CreateStream(avi::CompressedStreamInfo(avi::kHandlerUncompressed, w, h, avi::RecorderStreamRate(30)));
    const BITMAPINFOHEADER b = Dib32(w, h);
    if (s < 0 || !file->SetFormat(s, &b, sizeof b)) {
        return false;
    }
    for (int n = 0; n < frames; ++n) {
        const uint8_t* dib = frameAt(n);
        if (dib == nullptr || !file->Write(s, -1, 1, dib, b.biSizeImage, avi::kAviIfKeyFrame)) {
            return false;
        }
    }
    return file->Close();
}

bool WriteCompressed(codec::CompressedVideoStream& stream, int w, int h, int frames)
{
    std::vector<uint8_t> dib;
    for (int n = 0; n < frames; ++n) {
        Frame(&dib, w, h, n);
        if (!stream.Write(-1, dib.data(), n % 10 == 0 ? avi::kAviIfKeyFrame : 0)) {
            return false;
        }
    }
    return true;
}

int Write(const std::string& folder, int w, int h, int frames)
{
    if (!ScreenCodecInstall()) {
        return Fail("ICInstall failed");
    }
    std::vector<uint8_t> dib;
    if (!WriteRaw(folder + "\\raw.avi", w, h, frames, [&](int n) {
            Frame(&dib, w, h, n);
            return dib.data();
        })) {
        return Fail("raw.avi");
    }

    // The programs' own way: the stored choice and CreateCompressedStream.
    glCompVars = {};
    glCompVars.fccHandler = kZmbv;
    glCompFrameWidth = w;
    glCompFrameHeight = h;
    CompInputFormatSet(w, h);
    {
        std::unique_ptr<avi::AviWriter> file;
        std::unique_ptr<codec::CompressedVideoStream> stream;
        if (!CreateCompressedStream((folder + "\\builtin.avi").c_str(), 30, &file, &stream) ||
            !WriteCompressed(*stream, w, h, frames) || !file->Close()) {
            return Fail("builtin.avi");
        }
    }

    // Any other program's way: the codec manager and the driver.
    {
        auto file = avi::AviWriter::Create(folder + "\\manager.avi");
        auto compressor = codec::CompressorThroughCodecManager(kZmbv, -1);
        if (!file || !compressor) {
            return Fail("ICOpen of the screen codec failed");
        }
        const int s = file->CreateStream(avi::CompressedStreamInfo(kZmbv, w, h, avi::RecorderStreamRate(30)));
        codec::CompressedVideoStream stream(*file, s, std::move(compressor), 0);
        const BITMAPINFOHEADER b = Dib32(w, h);
        if (!stream.SetFormat(reinterpret_cast<const uint8_t*>(&b), sizeof b) || !WriteCompressed(stream, w, h, frames) ||
            !file->Close()) {
            return Fail("manager.avi");
        }
    }

    auto video = avi::StreamOpenFromFile(folder + "\\manager.avi", avi::kStreamTypeVideo, 0);
    if (!video) {
        return Fail("cannot read manager.avi back");
    }
    auto decoder = codec::DecompressorThroughCodecManager(video->Format());
    if (!decoder) {
        return Fail("no codec manager decompressor for manager.avi");
    }
    auto reader = codec::FrameReader::Open(video, std::move(decoder));
    if (!reader || !WriteRaw(folder + "\\unpacked.avi", w, h, frames, [&](int n) { return reader->GetFrame(n); })) {
        return Fail("unpacked.avi");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "list") == 0) {
        return List();
    }
    if (argc == 3 && std::strcmp(argv[1], "choose") == 0) {
        ScreenCodecInstall();
        const int picked = CompDataChoose(argv[2]);
        std::printf("%d %s\n", picked, CompDataCodeText(glCompVars).c_str());
        return 0;
    }
    if (argc == 6 && std::strcmp(argv[1], "write") == 0) {
        return Write(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    }
    std::fprintf(stderr, "usage: CodecCheck list | write <folder> <width> <height> <frames>\n");
    return 2;
}
