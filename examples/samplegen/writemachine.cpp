#include "writemachine.h"

#include <QDir>

#include "archive.h"
#include "artwork.h"
#include "orfformat.h"
#include "ppfformat.h"
#include "rcfformat.h"
#include "sampledocs.h"
#include "savefile.h"
#include "sdfformat.h"

namespace sample {

namespace {

// The time stamp of the control archive's member: fixed, so the archive never varies.
constexpr qint64 ArchiveTime = 1735689600;  // 2025-01-01 00:00:00 UTC

}  // namespace

bool writeMachine(const QString& folder, Variant variant, QString* error) {
    const QDir dir(folder);
    if (!QDir().mkpath(folder)) {
        if (error) *error = QStringLiteral("cannot make the folder %1").arg(folder);
        return false;
    }
    auto write = [&](const QString& name, const QByteArray& bytes) {
        return saveFileAtomically(dir.filePath(name), bytes, error);
    };

    const ReelDataDocument reel = variant == Variant::Large ? largeReelData() : reelData();
    if (!sdf::writeFile(dir.filePath(names::ReelData), reel, error)) return false;
    using artwork::SymbolLook;
    for (int s = 0; s < reel::SymbolCount; ++s) {
        int state = 0;
        for (SymbolLook look : {SymbolLook::Lit, SymbolLook::Unlit, SymbolLook::Flash})
            if (!write(names::symbol(s, state++), artwork::bmp(artwork::symbol(s, look))))
                return false;
    }

    const ControlDocument control = variant == Variant::Large
                                        ? variedControl(reel.lastPrizeIndex)
                                        : sample::control(reel.lastPrizeIndex);
    const QByteArray archive = lzh::writeArchive(
        {lzh::Member{QString::fromLatin1(rcf::MemberName), rcf::writeText(control)}}, ArchiveTime);
    if (archive.isEmpty()) {
        if (error) *error = QStringLiteral("cannot pack the control text");
        return false;
    }
    if (!write(names::Control, archive)) return false;

    // The machine takes its flags from the reel data file just written, as specboard does.
    MachineSpec spec = machine();
    QStringList warnings;
    if (!orf::readReelData(orf::FolderFiles(folder), names::ReelData, spec, &warnings, error))
        return false;
    if (!orf::writeFile(dir.filePath(names::Machine), spec, error)) return false;

    if (!ppf::writeFile(dir.filePath(names::Positions), positions(), error)) return false;
    return write(names::Cabinet, artwork::bmp(artwork::cabinet(false))) &&
           write(names::CabinetLit, artwork::bmp(artwork::cabinet(true))) &&
           write(names::Digits, artwork::bmp(artwork::digits())) &&
           write(names::Chime, artwork::chimeWav()) &&
           write(names::Fanfare, artwork::fanfareMidi());
}

}  // namespace sample
