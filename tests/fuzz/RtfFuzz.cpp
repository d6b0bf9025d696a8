// The rich-text reader on any bytes: it ends, and the sanitizers see nothing wrong.
#include "RtfReader.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Documents measure fonts, which needs the application's font database. The fuzzer's own
    // arguments are not Qt's.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rtf_fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QTextDocument document;
    ReadRtf(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), document);
    return 0;
}
