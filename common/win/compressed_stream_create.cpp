#include "common/win/compressed_stream_create.h"

#include <windows.h>

#include "codec/vfw/vfw_codec.h"
#include "common/avi/compressed_stream_info.h"
#include "common/win/comp_data.h"
#include "common/win/program.h"
#include "common/win/trace.h"

CompOptions glCompOptions;

namespace {

using vemtra::avi::AviWriter;
using vemtra::codec::CompressedVideoStream;

void Report(const char* editorText, const char* recorderText, const char* title = "")
{
    MessageBoxA(glhMainWnd, glProgram.editor ? editorText : recorderText, title, MB_TOPMOST);
}

}  // namespace

int CreateCompressedStream(const char* path, double frameRate, std::unique_ptr<AviWriter>* file,
                           std::unique_ptr<CompressedVideoStream>* stream)
{
    if (glProgram.editor) {
        DebugTrace("●●●●CreateCompressedStream dwRate", static_cast<long>(frameRate));
    }
    std::unique_ptr<AviWriter> avi = AviWriter::Create(path);
    if (!avi) {
        Report("AVIFileOpen 失敗", "AVIFileOpen 失敗");
        return 0;
    }

    const vemtra::avi::StreamRate rate = glProgram.editor ? vemtra::avi::EditorStreamRate(static_cast<float>(frameRate))
                                                          : vemtra::avi::RecorderStreamRate(frameRate);
    if (glProgram.editor) {
        DebugTrace("glGamenWidth, glGamenHeight", glCompFrameWidth, glCompFrameHeight);
        DebugTrace("CreateCompressedStream si.dwScale,si.dwRate", static_cast<long>(rate.dwScale),
                   static_cast<long>(rate.dwRate));
        DebugTrace("CreateCompressedStream FPS", static_cast<long>(static_cast<double>(rate.dwRate) / rate.dwScale));
    }
    const int plain = avi->CreateStream(
        vemtra::avi::CompressedStreamInfo(glCompVars.fccHandler, glCompFrameWidth, glCompFrameHeight, rate));
    if (plain < 0) {
        Report("圧縮設定をやりなおすなどしてください。", "AVIFileCreateStream 失敗");
        return 0;
    }

    glCompOptions = {};
    glCompOptions.fccType = vemtra::avi::kStreamTypeVideo;
    glCompOptions.fccHandler = glCompVars.fccHandler;
    glCompOptions.dwKeyFrameEvery = static_cast<uint32_t>(glCompVars.lKey);
    glCompOptions.dwQuality = static_cast<uint32_t>(glCompVars.lQ);
    glCompOptions.dwBytesPerSecond = static_cast<uint32_t>(glCompVars.lDataRate);
    auto codec = vemtra::codec::CompressorForHandler(glCompOptions.fccHandler, static_cast<int>(glCompOptions.dwQuality));
    if (!codec) {
        Report("圧縮設定をやりなおすなどしてください。", "AVIMakeCompressedStream 失敗");
        return 0;
    }
    auto compressed = std::make_unique<CompressedVideoStream>(*avi, plain, std::move(codec),
                                                              static_cast<int>(glCompOptions.dwKeyFrameEvery));

    if (!compressed->SetFormat(reinterpret_cast<const uint8_t*>(&glStreamFormatHeader), sizeof glStreamFormatHeader)) {
        // Some codecs take only certain widths: offer the next one a pixel wider.
        ++glCompFrameWidth;
        CompInputFormatSet(glCompFrameWidth, glCompFrameHeight);
        Report("AVIStreamSetFormat圧縮ストリームの作成に失敗しました。\r\n圧縮方式を変更するなどしてください。",
               "AVIStreamSetFormat圧縮ストリームの作成に失敗しました。\r\n圧縮方式を変更するなどしてください。",
               "<(;_ _)>圧縮ストリームの作成");
        return 0;
    }
    *file = std::move(avi);
    *stream = std::move(compressed);
    return 1;
}
