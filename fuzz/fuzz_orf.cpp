// The .orf reader on any bytes. A NUL byte splits the input: the bytes before it are the
// .orf text, the bytes after it the reel data file it names (whatever its name); without
// a NUL the named reel data file is missing.
#include <cstddef>
#include <cstdint>

#include "orfformat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype split = input.indexOf('\0');
    const QByteArray text = split < 0 ? input : input.left(split);

    class AnyNameFiles : public orf::ReferencedFiles {
    public:
        QByteArray reels;
        bool present = false;
        bool reelData(const QString&, QByteArray& bytes, QString* error) const override {
            if (!present) {
                if (error) *error = QStringLiteral("missing");
                return false;
            }
            bytes = reels;
            return true;
        }
        bool picture(const QString&, QImage&, QString* error) const override {
            if (error) *error = QStringLiteral("no pictures here");
            return false;
        }
    } files;
    files.present = split >= 0;
    if (files.present) files.reels = input.mid(split + 1);

    MachineSpec doc;
    orf::ReadReport report;
    QString error;
    if (orf::readText(text, files, doc, &report, &error)) {
        // Whatever was read can be checked and written again, and its flags fit the tables.
        (void)orf::unstorableText(doc);
        const QByteArray written = orf::write(doc);
        if (written.isEmpty() || doc.reelData.flagCount < 0 ||
            doc.reelData.flagCount > machine::MaxFlagCount)
            __builtin_trap();
        if (orf::unstorableText(doc).isEmpty()) {
            // A machine the writer accepts reads back the same from its own file.
            MachineSpec again;
            if (!orf::readText(written, files, again, nullptr, &error)) __builtin_trap();
            if (orf::write(again) != written) __builtin_trap();
        }
    }
    return 0;
}
