#include "checker.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <optional>

#include "captions.h"
#include "filelookup.h"
#include "linemap.h"
#include "machinefiles.h"
#include "machinefolder.h"
#include "pictures.h"
#include "soundcheck.h"

namespace check {

namespace {

using machinefiles::readBytes;

const char* const StateNames[] = {
    QT_TRANSLATE_NOOP("Check", "lit"), QT_TRANSLATE_NOOP("Check", "unlit"),
    QT_TRANSLATE_NOOP("Check", "flash"), QT_TRANSLATE_NOOP("Check", "blink")};
const char* const ReelNames[] = {QT_TRANSLATE_NOOP("Check", "left"),
                                 QT_TRANSLATE_NOOP("Check", "centre"),
                                 QT_TRANSLATE_NOOP("Check", "right")};
using namespace captions;

constexpr int MaxProbability = 65536;  // flag and sound probabilities are over 65536
constexpr int BaseTableShare = 256;    // base table probabilities are over 256
constexpr int MaxPay = 15;

QString quoted(const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); }

// The signature every PNG file begins with, whatever its name says.
bool startsLikePng(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(8) == QByteArray("\x89PNG\r\n\x1a\n", 8);
}

bool hasSuffix(const QString& name, const char* suffix) {
    return name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive);
}

// What the checker learnt of a reel data file, for the files laid out after it.
struct ReelInfo {
    QString path;
    QByteArray bytes;
    bool summaryRead = false;             // stopboard and specboard take it
    int lastPrizeIndex = 0;               // as they take it (0 when the file has no prize section)
    std::optional<ReelDataDocument> doc;  // as reelboard reads it
};

// A control file as stopboard reads it, kept for the machine sheet.
struct ControlInfo {
    ControlDocument doc;
    std::optional<int> writtenFor;
};

class FolderCheck {
    Q_DECLARE_TR_FUNCTIONS(Check)

public:
    // With `keep`, only the machine `onlyOrf` is checked and what was read goes there.
    FolderCheck(const QString& folder, Findings& out, MachineContents* keep = nullptr,
                const QString& onlyOrf = {})
        : folder_(folder), out_(out), keep_(keep), onlyOrf_(onlyOrf) {}
    bool run(QString* error);

    static void controlValues(Findings& out, const QString& file, const ControlDocument& doc);
    static void boxText(Findings& out, const QString& file, int line, const QString& what,
                        const QByteArray& raw, int max);

private:
    QString shown(const QString& bareName) const {
        return QDir::cleanPath(folder_ + QLatin1Char('/') + bareName);
    }
    QString shownPath(const QString& path) const { return shown(bareNameOfPath(path)); }
    // False, after reporting it, when the entry `name` is not a file the editors can read.
    bool isFile(const QString& name);

    // A named file: its path, or empty after reporting it missing or no file (a FIFO, a
    // folder); warns when only a name in another case matches.
    QString locate(const QString& referrer, int line, const QString& what, const QString& name);
    QImage checkPicture(const QString& referrer, int line, const QString& what, const QString& name,
                        const pictures::PictureLimits& limits = pictures::SymbolPictureLimits);
    void checkSoundFile(const QString& referrer, int line, int number, const QString& name);
    FileState soundState(const QString& referrer, int line, int number, const QString& name);
    void reportRefusal(const QString& file, const QString& lead, const QString& reason);

    const ReelInfo& checkReelData(const QString& path);
    void checkControl(const QString& path, const ReelInfo* reel);
    // False when the file names cannot be known (the file is refused).
    bool checkMachine(const QString& path);
    void checkMachineValues(const QString& file, const MachineSpec& spec, const TextLines& text,
                            const OrfLines& at);
    void checkMachineSounds(const QString& file, const MachineSpec& spec, const OrfLines& at);
    void checkPositions(const QString& path);
    void checkLooseFiles(const QStringList& names, const QSet<QString>& done);

    void keepMachine(const QString& path, const MachineSpec& spec, const OrfLines& at);

    QString folder_;
    MachineFolder dir_;
    Findings& out_;
    MachineContents* keep_;
    QString onlyOrf_;
    QHash<QString, ControlInfo> controls_;        // kept for the sheet only
    QHash<QString, PositionDocument> positions_;  // likewise
    QHash<QString, ReelInfo> reels_;
    QSet<QString> controlsDone_;
    QSet<QString> positionsDone_;
    QHash<QString, QImage> pictures_;   // decoded (or null when not decodable) by path
    QHash<QString, FileState> sounds_;  // by path
};

bool FolderCheck::run(QString* error) {
    if (!dir_.open(folder_, error)) return false;
    // Entries of every kind: a FIFO or folder under a machine file's name is reported.
    const QStringList orfs = dir_.namesEndingIn({QStringLiteral(".orf")});
    const QStringList loose = dir_.namesEndingIn(
        {QStringLiteral(".sdf"), QStringLiteral(".rcf"), QStringLiteral(".ppf")});
    if (orfs.isEmpty() && loose.isEmpty()) {
        if (error) *error = tr("%1 holds no .orf, .sdf, .rcf or .ppf file").arg(folder_);
        return false;
    }
    if (keep_) {
        keep_->orfPath = dir_.filePath(onlyOrf_);
        if (isFile(onlyOrf_)) checkMachine(keep_->orfPath);
        if (const auto it = reels_.constFind(keep_->reelPath); it != reels_.constEnd()) {
            keep_->reel = it->doc;
            if (it->doc) keep_->sdfLines = SdfLines(TextLines(it->bytes));
        }
        if (const auto it = controls_.constFind(keep_->controlPath); it != controls_.constEnd()) {
            keep_->control = it->doc;
            keep_->controlWrittenFor = it->writtenFor;
        }
        if (const auto it = positions_.constFind(keep_->positionsPath); it != positions_.constEnd())
            keep_->positions = *it;
        return true;
    }
    bool allNamed = !orfs.isEmpty();
    for (const QString& orf : orfs)
        allNamed = isFile(orf) && checkMachine(dir_.filePath(orf)) && allNamed;
    // Without a readable .orf nothing tells which files make the machine: check them all.
    if (!allNamed) {
        QSet<QString> done;
        for (const ReelInfo& r : reels_) done.insert(bareNameOfPath(r.path));
        for (const QString& p : controlsDone_) done.insert(bareNameOfPath(p));
        for (const QString& p : positionsDone_) done.insert(bareNameOfPath(p));
        checkLooseFiles(loose, done);
    }
    return true;
}

bool FolderCheck::isFile(const QString& name) {
    const EntryKind kind = dir_.kindOf(name);
    if (kind == EntryKind::File) return true;
    out_.error(shown(name), 0, QStringLiteral("not a file"),
               tr("%1 is %2, not a file: no editor can read it").arg(quoted(name), kindText(kind)));
    return false;
}

void FolderCheck::checkLooseFiles(const QStringList& entries, const QSet<QString>& done) {
    QStringList names;
    for (const QString& name : entries)
        if (done.contains(name) || isFile(name)) names << name;
    QStringList reelNames;
    for (const QString& name : names)
        if (hasSuffix(name, ".sdf")) reelNames << name;
    for (const QString& name : names)
        if (hasSuffix(name, ".sdf") && !done.contains(name)) checkReelData(dir_.filePath(name));
    for (const QString& name : names) {
        if (done.contains(name)) continue;
        if (hasSuffix(name, ".ppf")) {
            checkPositions(dir_.filePath(name));
        } else if (hasSuffix(name, ".rcf")) {
            // The reel data file of the same name, or the only one there is.
            const QString base = QFileInfo(name).completeBaseName();
            QString reelName;
            for (const QString& r : reelNames)
                if (QFileInfo(r).completeBaseName().compare(base, Qt::CaseInsensitive) == 0)
                    reelName = r;
            if (reelName.isEmpty() && reelNames.size() == 1) reelName = reelNames.first();
            if (reelName.isEmpty()) {
                out_.warning(shown(name), 0, QStringLiteral("layout"),
                             reelNames.isEmpty()
                                 ? tr("no reel data file (.sdf) in the folder: the "
                                      "layout of the assignment section is not checked")
                                 : tr("no .orf, and no .sdf of the same name: the layout "
                                      "of the assignment section is not checked"));
                checkControl(dir_.filePath(name), nullptr);
            } else {
                checkControl(dir_.filePath(name), &checkReelData(dir_.filePath(reelName)));
            }
        }
    }
}

QString FolderCheck::locate(const QString& referrer, int line, const QString& what,
                            const QString& name) {
    if (name.contains(u'/') || name.contains(u'\\')) {
        out_.error(referrer, line, QStringLiteral("missing"),
                   tr("%1 %2 is not a bare file name: the editors look only in the "
                      "machine's folder")
                       .arg(what, quoted(name)));
        return {};
    }
    const QString found = dir_.find(name);
    if (found.isEmpty()) {
        out_.error(referrer, line, QStringLiteral("missing"),
                   tr("%1 %2 is missing from the folder").arg(what, quoted(name)));
        return {};
    }
    if (const EntryKind kind = dir_.kindOf(found); kind != EntryKind::File) {
        out_.error(referrer, line, QStringLiteral("missing"),
                   tr("%1 %2 is %3 in the folder, not a file: the editors cannot "
                      "read it")
                       .arg(what, quoted(found), kindText(kind)));
        return {};
    }
    if (found != name)
        out_.warning(referrer, line, QStringLiteral("case"),
                     tr("%1 %2 is found only as %3: the editors find it, as they try "
                        "every letter case, and so does the simulator on Windows, whose file "
                        "systems do not tell cases apart; a program that opens the exact name "
                        "on a file system that tells cases apart (as Linux's do) does not")
                         .arg(what, quoted(name), quoted(found)));
    return dir_.filePath(found);
}

void FolderCheck::reportRefusal(const QString& file, const QString& lead, const QString& reason) {
    QString rest;
    const int line = lineOfReason(reason, &rest);
    out_.error(file, line, QStringLiteral("refused"), lead + QStringLiteral(": ") + rest);
}

QImage FolderCheck::checkPicture(const QString& referrer, int line, const QString& what,
                                 const QString& name, const pictures::PictureLimits& limits) {
    const QString path = locate(referrer, line, what, name);
    if (path.isEmpty()) {
        if (keep_) keep_->pictures.insert(name, NamedPicture{});
        return {};
    }
    auto it = pictures_.constFind(path);
    if (it == pictures_.constEnd()) {
        QImage image;
        QString why;
        if (!pictures::loadPicture(path, image, &why, limits)) {
            QString rest;
            lineOfReason(why, &rest);
            out_.error(shownPath(path), 0, QStringLiteral("picture"),
                       tr("the picture cannot be decoded (%1, line %2 of %3): %4")
                           .arg(what)
                           .arg(line)
                           .arg(bareNameOfPath(referrer), rest));
            image = QImage();
        }
        it = pictures_.insert(path, image);
    }
    const QImage& image = *it;
    // The editors decode PNG as well, but the machine's pictures are GIF, JPEG and BMP.
    if (!image.isNull() && startsLikePng(path))
        out_.warning(referrer, line, QStringLiteral("png"),
                     tr("%1 %2 is a PNG picture: the editors show it, but the simulator "
                        "takes GIF, JPEG and BMP pictures and may not show it")
                         .arg(what, quoted(name)));
    if (keep_)
        keep_->pictures.insert(
            name, NamedPicture{image.isNull() ? FileState::Refused : FileState::Found, image});
    return image;
}

// ---- reel data ----

const ReelInfo& FolderCheck::checkReelData(const QString& path) {
    if (auto it = reels_.constFind(path); it != reels_.constEnd()) return *it;
    ReelInfo& info = reels_[path];
    info.path = path;
    const QString file = shownPath(path);
    QString why;
    if (!readBytes(path, info.bytes, &why)) {
        out_.error(file, 0, QStringLiteral("read"), tr("cannot read the file: ") + why);
        return info;
    }
    const TextLines text(info.bytes);
    const SdfLines at(text);

    ReelDataDocument doc;
    const bool reelboardReads = machinefiles::readReelData(info.bytes, doc, &why);
    if (!reelboardReads) reportRefusal(file, tr("reelboard refuses this reel data file"), why);

    ReelDataSummary summary;
    info.summaryRead = machinefiles::readReelSummary(info.bytes, summary, &why);
    if (!info.summaryRead && reelboardReads)
        reportRefusal(file, tr("stopboard and specboard refuse this reel data file"), why);
    if (!info.summaryRead) return info;
    if (!summary.hasPrizes) {
        out_.warning(file, text.count(), QStringLiteral("prizes"),
                     tr("the file ends after the reel arrangement: it holds no prizes, "
                        "and stopboard and specboard keep the prizes they had"));
    } else {
        info.lastPrizeIndex = summary.lastPrizeIndex;
        const int last = summary.lastPrizeIndex;
        if (last > control::MaxLastPrizeIndex)
            out_.error(file, at.lastPrizeIndex(), QStringLiteral("lpi"),
                       tr("LastPrizeIndex %1 is above %2: a reel control file holds "
                          "flags 0 to LastPrizeIndex + 1, at most flag %3%4")
                           .arg(last)
                           .arg(control::MaxLastPrizeIndex)
                           .arg(control::FlagCount - 1)
                           .arg(last > machine::MaxFlagCount
                                    ? tr(", and it is above %1, the most a machine "
                                         "file (.orf) holds")
                                          .arg(machine::MaxFlagCount)
                                    : QString()));
    }
    if (!reelboardReads) return info;

    for (int s = 0; s < reel::SymbolCount; ++s)
        for (int st = 0; st < PictureStateCount; ++st) {
            const QString& name = doc.symbols[s].names[st];
            if (!name.isEmpty())
                checkPicture(file, at.name(s, st),
                             tr("the %1 picture of symbol %2").arg(tr(StateNames[st])).arg(s + 1),
                             name);
        }
    if (keep_) info.doc = doc;
    for (int e = 0; e <= doc.lastPrizeIndex && e < reel::PrizeSlotCount; ++e) {
        const reel::PrizeEntry& p = doc.prizes[e];
        for (int r = 0; r < reel::ReelCount; ++r)
            if (!reel::isCombinationSymbol(p.symbols[r]))
                out_.error(file, at.prize(e, 0), QStringLiteral("prize symbol"),
                           tr("prize %1, %2 reel: symbol %3 is neither 0 to 6 nor 100 "
                              "(any symbol)")
                               .arg(e + 1)
                               .arg(tr(ReelNames[r]))
                               .arg(p.symbols[r]));
        for (int g = 0; g < reel::GameStateCount; ++g) {
            const QString state = reel::gameStateCaption(reel::GameState(g));
            if (p.pays[g] < 0 || p.pays[g] > MaxPay)
                out_.error(file, at.prize(e, 1), QStringLiteral("pay"),
                           tr("prize %1, %2: pay %3 is outside 0..%4")
                               .arg(e + 1)
                               .arg(state)
                               .arg(p.pays[g])
                               .arg(MaxPay));
            if (p.kinds[g] < 0 || p.kinds[g] >= reel::PrizeKindCount)
                out_.error(file, at.prize(e, 2), QStringLiteral("kind"),
                           tr("prize %1, %2: kind %3 is outside 0..7")
                               .arg(e + 1)
                               .arg(state)
                               .arg(p.kinds[g]));
        }
    }
    return info;
}

// ---- reel control ----

void FolderCheck::checkControl(const QString& path, const ReelInfo* reel) {
    if (controlsDone_.contains(path)) return;
    controlsDone_.insert(path);
    const QString file = shownPath(path);
    const bool known = reel && reel->summaryRead;
    const bool fits = known && reel->lastPrizeIndex <= control::MaxLastPrizeIndex;
    int layout = fits ? reel->lastPrizeIndex : 0;

    ControlDocument doc;
    rcf::ReadReport report;
    QString why;
    if (!machinefiles::readControlFile(path, layout, doc, report, &why)) {
        reportRefusal(file, tr("stopboard refuses this reel control file"), why);
        return;
    }
    const std::optional<int> written = report.writtenLastPrizeIndex;
    const bool writtenFits = written && *written <= control::MaxLastPrizeIndex;
    if (!written) {
        out_.error(file, rcflines::FirstAssignment, QStringLiteral("layout"),
                   tr("the assignment section holds %1 lines, which fits no "
                      "LastPrizeIndex (%2 lines a flag, flags 0 to LastPrizeIndex + 1): "
                      "the file is cut short or damaged")
                       .arg(report.assignmentLines)
                       .arg(control::LinesPerFlag));
    } else if (fits && *written != layout) {
        out_.error(file, rcflines::FirstAssignment, QStringLiteral("layout"),
                   tr("the assignment section was written for LastPrizeIndex %1, but "
                      "%2 has LastPrizeIndex %3: stopboard reads every assignment "
                      "after the first key group (通常時, ボーナス否成立, 1BET, 左中右) "
                      "for another key")
                       .arg(*written)
                       .arg(bareNameOfPath(reel->path))
                       .arg(layout));
    }
    if (keep_) controls_.insert(path, ControlInfo{doc, written});
    // Values are checked in the layout the file was written in.
    if (writtenFits && *written != layout) {
        layout = *written;
        ControlDocument again;
        if (!machinefiles::readControlFile(path, layout, again, report, &why)) return;
        doc = std::move(again);
    }
    controlValues(out_, file, doc);
}

void FolderCheck::controlValues(Findings& out, const QString& file, const ControlDocument& doc) {
    using namespace control;
    for (int t = 1; t <= StopTableCount; ++t) {
        const auto stops = doc.stopTable(t);
        for (int p = 0; p < reel::PositionCount; ++p)
            for (int r = 0; r < reel::ReelCount; ++r) {
                const int v = stops[reel::cellOf(r, p)];
                if (v < 0 || v > 4)
                    out.error(file, rcflines::stops(t, p), QStringLiteral("stop index"),
                              tr("stop table %1, %2 reel, position %3: stop index "
                                 "%4 is outside 0..4")
                                  .arg(t)
                                  .arg(tr(ReelNames[r]), reel::positionLabel(p))
                                  .arg(v));
            }
    }

    // Assignments in the order of the file.
    std::vector<bool> assigned(BaseTableCount + 1, false);
    int line = rcflines::FirstAssignment;
    control::forEachFileKey(doc.lastPrizeIndex(), [&](const AssignmentKey& k) {
        const int b = doc.assignment(k);
        if (b >= 1 && b <= BaseTableCount)
            assigned[b] = true;
        else
            out.error(file, line, QStringLiteral("assignment"),
                      tr("assignment of %1, %2, %3BET, %4, flag %5, big type %6, "
                         "first stop position %7: base table %8 is outside 1..512")
                          .arg(PlayStates[k.playState], BonusFlagStates[k.bonusFlagState])
                          .arg(k.bet + 1)
                          .arg(StopOrders[k.stopOrder])
                          .arg(k.flag)
                          .arg(k.bigType + 1)
                          .arg(k.firstStop)
                          .arg(b));
        ++line;
    });

    for (int b = 1; b <= BaseTableCount; ++b) {
        int sum = 0;
        bool used = false;
        for (int s = 0; s < SlotsPerBaseTable; ++s) {
            const BaseSlot& slot = doc.baseSlot(b, s);
            sum += slot.probability;
            // A slot never touched holds 0 and 0; the editor shows its table as 1.
            if (slot.probability == 0 && slot.table == 0) continue;
            used = used || slot.probability != 0;
            auto range = [&](const char* kind, const QString& what, int v, int lo, int hi) {
                if (v < lo || v > hi)
                    out.error(file, rcflines::base(b, s), QLatin1String(kind),
                              tr("base table %1, slot %2: %3 %4 is outside %5..%6")
                                  .arg(b)
                                  .arg(s + 1)
                                  .arg(what)
                                  .arg(v)
                                  .arg(lo)
                                  .arg(hi));
            };
            range("base probability", tr("probability"), slot.probability, 0, BaseTableShare);
            range("base table number", tr("stop table"), slot.table, 1, StopTableCount);
        }
        if ((used || assigned[b]) && sum != BaseTableShare)
            out.warning(file, rcflines::base(b, 0), QStringLiteral("base sum"),
                        tr("base table %1%2: the probabilities of its slots add up "
                           "to %3, not 256")
                            .arg(b)
                            .arg(assigned[b] ? tr(" (assigned)") : QString())
                            .arg(sum));
    }
}

// ---- machine ----

bool FolderCheck::checkMachine(const QString& path) {
    const QString file = shownPath(path);
    QByteArray bytes;
    QString why;
    if (!readBytes(path, bytes, &why)) {
        out_.error(file, 0, QStringLiteral("read"), tr("cannot read the file: ") + why);
        return false;
    }
    const TextLines text(bytes);
    const OrfLines at(text);

    // A first read against a stand-in reel data file tells the names and whether the
    // file itself reads.
    MachineSpec spec;
    orf::ReadReport report;
    if (!machinefiles::readMachine(bytes, machinefiles::standInReelData(0), spec, report, &why)) {
        reportRefusal(file, tr("specboard refuses this machine file"), why);
        return false;
    }

    const ReelInfo* reel = nullptr;
    if (spec.reelFileName.isEmpty()) {
        out_.warning(file, at.reelFileName(), QStringLiteral("names"),
                     tr("names no reel data file (.sdf)"));
    } else if (const QString p =
                   locate(file, at.reelFileName(), tr("the reel data file"), spec.reelFileName);
               !p.isEmpty()) {
        reel = &checkReelData(p);
    }

    const bool usable = reel && reel->summaryRead && reel->lastPrizeIndex <= machine::MaxFlagCount;
    bool layoutMismatch = false;
    if (usable) {
        MachineSpec real;
        orf::ReadReport realReport;
        if (!machinefiles::readMachine(bytes, reel->bytes, real, realReport, &why)) {
            reportRefusal(file, tr("specboard refuses this machine file"), why);
            return true;
        }
        spec = std::move(real);
        report = std::move(realReport);
        // A section written for fewer flags also ends early; the layout says why.
        if (report.soundSectionRead && report.flagCountMismatch) {
            layoutMismatch = true;
            const int n = reel->lastPrizeIndex;
            out_.error(file, at.effectHeader, QStringLiteral("layout"),
                       report.writtenFlagCount < 0
                           ? tr("the payout sound section fits no flag count: %1 has "
                                "LastPrizeIndex %2, which needs %3 lines")
                                 .arg(bareNameOfPath(reel->path))
                                 .arg(n)
                                 .arg(2 * (n + 1))
                           : tr("the payout sound section was written for %1 flags "
                                "(LastPrizeIndex %2), but %3 has LastPrizeIndex %4: "
                                "specboard reads the payout sounds for other flags")
                                 .arg(report.writtenFlagCount + 1)
                                 .arg(report.writtenFlagCount)
                                 .arg(bareNameOfPath(reel->path))
                                 .arg(n));
        }
    } else if (report.writtenFlagCount > 0 && report.writtenFlagCount <= machine::MaxFlagCount) {
        // Without a usable reel data file, the payout sounds are read in their own layout.
        MachineSpec own;
        orf::ReadReport ownReport;
        if (machinefiles::readMachine(bytes, machinefiles::standInReelData(report.writtenFlagCount),
                                      own, ownReport, &why)) {
            spec = std::move(own);
            report = std::move(ownReport);
        }
    }
    if (!report.stoppedReason.isEmpty() && !(layoutMismatch && !report.effectSectionRead)) {
        QString rest;
        const int line = lineOfReason(report.stoppedReason, &rest);
        out_.warning(file, line, QStringLiteral("stopped"),
                     tr("the sound settings end early, and specboard keeps the sound "
                        "settings it had: ") +
                         rest);
    }

    if (keep_) {
        keep_->spec = spec;
        keep_->orfLines = at;
        if (reel) keep_->reelPath = reel->path;
    }
    checkMachineValues(file, spec, text, at);
    checkMachineSounds(file, spec, at);

    if (spec.controlFileName.isEmpty())
        out_.warning(file, at.controlFileName(), QStringLiteral("names"),
                     tr("names no reel control file (.rcf)"));
    else if (const QString p = locate(file, at.controlFileName(), tr("the reel control file"),
                                      spec.controlFileName);
             !p.isEmpty()) {
        if (keep_) keep_->controlPath = p;
        checkControl(p, reel);
    }
    if (spec.bodyFileName.isEmpty())
        out_.warning(file, at.bodyFileName(), QStringLiteral("names"),
                     tr("names no picture position file (.ppf)"));
    else if (const QString p = locate(file, at.bodyFileName(), tr("the picture position file"),
                                      spec.bodyFileName);
             !p.isEmpty()) {
        if (keep_) keep_->positionsPath = p;
        checkPositions(p);
    }
    return true;
}

// A text the file stores for a number box: digits only, at most `max`.
void FolderCheck::boxText(Findings& out, const QString& file, int line, const QString& what,
                          const QByteArray& raw, int max) {
    QByteArray text = raw;
    while (text.startsWith(' ')) text.remove(0, 1);  // the reader skips leading blanks
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    const QString shownText = QString::fromLatin1(text);
    if (text.isEmpty()) {
        out.warning(file, line, QStringLiteral("box text"),
                    tr("%1 is empty (the box shows 0 when left)").arg(what));
    } else if (!digits.match(shownText).hasMatch() || text.size() > 9 || text.toInt() > max) {
        out.error(file, line, QStringLiteral("box text"),
                  tr("%1: %2 is not a number from 0 to %3").arg(what, quoted(shownText)).arg(max));
    }
}

void FolderCheck::checkMachineValues(const QString& file, const MachineSpec& s,
                                     const TextLines& text, const OrfLines& at) {
    using namespace machine;
    auto range = [&](int line, const QString& kind, const QString& what, long long v, long long lo,
                     long long hi) {
        if (v < lo || v > hi)
            out_.error(file, line, kind,
                       tr("%1: %2 is outside %3..%4").arg(what).arg(v).arg(lo).arg(hi));
    };
    const int flags = std::clamp<int>(s.reelData.flagCount, 0, MaxFlagCount) + 1;

    for (int setting = FirstSetting; setting <= LastSetting; ++setting)
        range(at.gensan(setting), QStringLiteral("gensan"), tr("減算値 of setting %1").arg(setting),
              s.gensan[setting], 0, 256);
    for (int setting = FirstSetting; setting <= LastSetting; ++setting)
        for (int bet = 0; bet < StoredBets; ++bet)
            for (int state = 0; state < StoredStates; ++state) {
                long long sum = 0;
                for (int f = 0; f < flags; ++f) {
                    const std::int32_t v = s.flagProb[f][setting][bet][state];
                    sum += v;
                    range(at.flagProb(f, setting, bet), QStringLiteral("flag probability"),
                          tr("flag %1, setting %2, %3BET, %4: probability")
                              .arg(f + 1)
                              .arg(setting)
                              .arg(bet + 1)
                              .arg(ProbStates[state]),
                          v, 0, MaxProbability);
                }
                if (sum > MaxProbability)
                    out_.warning(file, at.flagProb(0, setting, bet), QStringLiteral("flag sum"),
                                 tr("setting %1, %2BET, %3: the probabilities of the "
                                    "%4 flags add up to %5, above 65536")
                                     .arg(setting)
                                     .arg(bet + 1)
                                     .arg(ProbStates[state])
                                     .arg(flags)
                                     .arg(sum));
            }
    for (int big = 0; big < StoredBigs; ++big)
        range(at.ctEntryPct(big), QStringLiteral("percentage"),
              tr("CT entry percentage for ビッグ%1").arg(big + 1), s.ctEntryPct[big], 0, 100);
    const QString ctEnds[] = {tr("CT end condition 枚純増"), tr("CT end condition プレイ終了")};
    for (int i = 0; i < StoredCTEnds; ++i)
        boxText(out_, file, at.ctEndCon(i), ctEnds[i], text.line(at.ctEndCon(i)), 9999);
    for (int big = 0; big < StoredBigs; ++big)
        for (int result = 0; result < StoredBigs; ++result)
            range(at.superBigPct(big), QStringLiteral("percentage"),
                  tr("super big: ビッグ%1 lined up becomes ビッグ%2, percentage")
                      .arg(big + 1)
                      .arg(result + 1),
                  s.superBigPct[big][result], 0, 100);
    const QString bonusEnds[] = {
        tr("bonus end BB games (G行うか)"), tr("bonus end BB regular bonuses (回RB)"),
        tr("bonus end RB games (G行うか)"), tr("bonus end RB wins (回入賞)")};
    const int bonusEndMax[] = {99, 9, 99, 9};
    for (int i = 0; i < BonusEndSlots; ++i)
        boxText(out_, file, at.bonusEnd(i), bonusEnds[i], text.line(at.bonusEnd(i)),
                bonusEndMax[i]);

    for (int bet = 0; bet < StoredBets; ++bet)
        for (int line = 0; line < StoredLines; ++line) {
            const auto& cells = s.lineCell[bet][line];
            const QString what = tr("pay line %1 of %2BET").arg(line + 1).arg(bet + 1);
            int total = 0;
            bool twoOnAReel = false;
            for (int r = 0; r < reel::ReelCount; ++r) {
                int onReel = 0;
                for (int row = 0; row < LineRows; ++row) {
                    const int v = cells[r * LineRows + row];
                    if (v != 0 && v != 1)
                        out_.error(file, at.payLine(bet, line) + row, tr("line cell"),
                                   tr("%1, %2 reel, %3: cell value %4 is neither 0 "
                                      "nor 1")
                                       .arg(what, tr(ReelNames[r]), LineRowNames[row])
                                       .arg(v));
                    onReel += v == 1 ? 1 : 0;
                }
                total += onReel;
                twoOnAReel = twoOnAReel || onReel > 1;
            }
            if (twoOnAReel || (total != 0 && total != 3))
                out_.error(file, at.payLine(bet, line), QStringLiteral("line"),
                           tr("%1 has %2 cells%3; a line has none or three, one on "
                              "each reel")
                               .arg(what)
                               .arg(total)
                               .arg(twoOnAReel ? tr(", two on one reel") : QString()));
            range(at.lineArea(bet, line), QStringLiteral("line area"),
                  what + tr(": region number (領域番号)"), s.lineArea[bet][line], 0, 5);
        }
}

void FolderCheck::checkMachineSounds(const QString& file, const MachineSpec& spec,
                                     const OrfLines& at) {
    using namespace sound;
    const SoundTables& t = spec.sound;
    for (int n = 1; n <= LastSoundNumber; ++n)
        if (!t.files[n].isEmpty()) checkSoundFile(file, at.soundFile(n), n, t.files[n]);

    auto number = [&](int line, const QString& what, int v) {
        if (v < 0 || v > LastSoundNumber)
            out_.error(file, line, QStringLiteral("sound number"),
                       tr("%1: sound number %2 is outside 0..128").arg(what).arg(v));
        else if (v > 0 && t.files[v].isEmpty())
            out_.error(
                file, line, QStringLiteral("sound number"),
                tr("%1: sound %2 names an empty entry of the sound registry").arg(what).arg(v));
    };
    auto probability = [&](int line, const QString& what, long long v) {
        if (v < 0 || v > MaxProbability)
            out_.error(file, line, QStringLiteral("sound probability"),
                       tr("%1: probability %2 is outside 0..65536").arg(what).arg(v));
    };
    auto afterFirstTwo = [&](int line, const QString& what, int v) {
        if (v != 0 && v != 1)
            out_.error(file, line, QStringLiteral("check box"),
                       tr("%1: the check value %2 is neither 0 nor 1").arg(what).arg(v));
    };
    // One lottery among six candidates.
    auto candidates = [&](int firstLine, const QString& what, auto get) {
        long long sum = 0;
        for (int c = 0; c < StoredCandidates; ++c) {
            const auto& k = get(c);
            const QString one = tr("%1, candidate %2").arg(what).arg(c + 1);
            probability(firstLine + c, one, k.probability);
            number(firstLine + c, one, k.sound);
            sum += k.probability;
        }
        if (sum > MaxProbability)
            out_.warning(file, firstLine, QStringLiteral("sound sum"),
                         tr("%1: the probabilities of the candidates add up to %2, "
                            "above 65536")
                             .arg(what)
                             .arg(sum));
    };

    for (int g = 0; g < 3; ++g)
        number(at.normalSound(g), SoundGroups[g] + QStringLiteral(", 通常"), t.normalSound[g]);
    for (int g = 0; g < BonusGroupSlots; ++g)
        for (int st = 0; st < StoredBonusStates; ++st)
            candidates(at.bonusCandidate(g, st, 0),
                       QStringLiteral("%1, %2").arg(SoundGroups[g], BonusSoundStates[st]),
                       [&](int c) -> const Candidate& { return t.bonusCandidates[g][st][c]; });
    for (int big = 1; big <= 5; ++big)
        number(at.bigFirstPlay(big),
               QStringLiteral("%1, ビッグ%2の1プレイ目").arg(SoundGroups[0]).arg(big),
               t.bigFirstPlaySound[big]);
    for (int f = 0; f < FlagSlots; ++f)
        candidates(at.flagCandidate(f, 0),
                   QStringLiteral("%1, フラグ %2 成立時").arg(SoundGroups[1]).arg(f),
                   [&](int c) -> const Candidate& { return t.flagCandidates[f][c]; });
    for (int r = 0; r < StoredReels; ++r) {
        for (int st = 0; st < StoredBonusStates; ++st) {
            const QString what = QStringLiteral("%1, 第%2リール停止時, %3")
                                     .arg(SoundGroups[2])
                                     .arg(r + 1)
                                     .arg(BonusSoundStates[st]);
            candidates(at.stopBonusCandidate(r, st, 0), what,
                       [&](int c) -> const Candidate& { return t.stopBonusCandidates[r][st][c]; });
            for (int c = 0; c < StoredCandidates; ++c)
                afterFirstTwo(at.stopBonusCandidate(r, st, c),
                              tr("%1, candidate %2").arg(what).arg(c + 1),
                              t.stopBonusAfterFirstTwo[r][st][c]);
        }
        for (int f = 0; f < StoredStopFlags; ++f) {
            const QString what = QStringLiteral("%1, 第%2リール停止時, フラグ %3 成立時")
                                     .arg(SoundGroups[2])
                                     .arg(r + 1)
                                     .arg(f);
            candidates(at.stopFlagCandidate(r, f, 0), what, [&](int c) -> const StopFlagCandidate& {
                return t.stopFlagCandidates[r][f][c];
            });
            for (int c = 0; c < StoredCandidates; ++c)
                afterFirstTwo(at.stopFlagCandidate(r, f, c),
                              tr("%1, candidate %2").arg(what).arg(c + 1),
                              t.stopFlagCandidates[r][f][c].afterFirstTwo);
        }
    }
    const int flagCount = std::clamp<int>(spec.reelData.flagCount, 0, machine::MaxFlagCount);
    for (int f = 0; f <= flagCount; ++f)
        for (int timing = 0; timing < StoredPayTimings; ++timing)
            for (int st = 0; st < StoredPayStates; ++st)
                number(at.paySound(f, timing),
                       tr("payout sound of flag %1, %2, %3")
                           .arg(f + 1)
                           .arg(PayStates[st], PayTimings[timing]),
                       t.paySound[f][st][timing]);
    for (int i = 0; i < StoredBgm; ++i)
        number(at.bgm(i, flagCount), tr("BGM %1").arg(BgmNames[i]), t.bgmSound[i]);
}

void FolderCheck::checkSoundFile(const QString& referrer, int line, int number,
                                 const QString& name) {
    if (keep_)
        keep_->sounds.insert(name, soundState(referrer, line, number, name));
    else
        soundState(referrer, line, number, name);
}

FileState FolderCheck::soundState(const QString& referrer, int line, int number,
                                  const QString& name) {
    const QString what = tr("sound %1").arg(number);
    // specboard picks the player by the last character of the name, case and all.
    const bool wav = name.endsWith(u'v') || hasSuffix(name, ".wav");
    const bool midi = name.endsWith(u'd') || hasSuffix(name, ".mid");
    if (!wav && !midi) {
        out_.error(referrer, line, QStringLiteral("sound kind"),
                   tr("%1 %2 is neither a WAV (.wav) nor a MIDI (.mid) file: specboard "
                      "cannot play it")
                       .arg(what, quoted(name)));
        return FileState::Refused;
    }
    if (!name.endsWith(u'v') && !name.endsWith(u'd'))
        out_.warning(referrer, line, QStringLiteral("sound kind"),
                     tr("%1 %2: specboard plays a sound only when its name ends in a "
                        "lower-case \"v\" or \"d\" (.wav, .mid)")
                         .arg(what, quoted(name)));
    const QString path = locate(referrer, line, what, name);
    if (path.isEmpty()) return FileState::Missing;
    if (const auto it = sounds_.constFind(path); it != sounds_.constEnd()) return *it;
    FileState& state = sounds_[path];
    state = FileState::Refused;
    QByteArray bytes;
    QString why;
    if (!readBytes(path, bytes, &why)) {
        out_.error(shownPath(path), 0, QStringLiteral("sound"),
                   tr("cannot read the sound file: ") + why);
        return state;
    }
    const QString problem = wav ? wavProblem(bytes) : midiProblem(bytes);
    if (!problem.isEmpty()) {
        out_.error(shownPath(path), 0, QStringLiteral("sound"),
                   tr("the sound cannot be decoded (%1, line %2 of %3): %4")
                       .arg(what)
                       .arg(line)
                       .arg(bareNameOfPath(referrer), problem));
        return state;
    }
    state = FileState::Found;
    return state;
}

// ---- picture positions ----

void FolderCheck::checkPositions(const QString& path) {
    if (positionsDone_.contains(path)) return;
    positionsDone_.insert(path);
    const QString file = shownPath(path);
    QByteArray bytes;
    QString why;
    if (!readBytes(path, bytes, &why)) {
        out_.error(file, 0, QStringLiteral("read"), tr("cannot read the file: ") + why);
        return;
    }
    PositionDocument doc;
    ppf::ReadReport report;
    if (!machinefiles::readPositions(bytes, doc, report, &why)) {
        reportRefusal(file, tr("posboard refuses this picture position file"), why);
        return;
    }
    if (keep_) positions_.insert(path, doc);
    if (report.countLine != pos::LastEntry)
        out_.warning(file, ppflines::Count, QStringLiteral("count"),
                     tr("the count line says %1; posboard writes 32 and reads 33 "
                        "entries whatever it says")
                         .arg(report.countLine));
    std::array<QImage, pos::SlotCount> images;
    for (int s = 0; s < pos::SlotCount; ++s)
        if (const QString& name = doc.pictureSlots[s].fileName; !name.isEmpty())
            images[s] = checkPicture(file, ppflines::slot(s),
                                     tr("the picture of slot %1").arg(pos::slotListText(s)), name,
                                     pictures::CabinetPictureLimits);

    static const QRegularExpression correction(QStringLiteral("^-?[0-9]{1,5}$"));
    static const QRegularExpression slotNumber(QStringLiteral("^[0-8]$"));
    for (int e = 0; e < pos::EntryCount; ++e) {
        const PlacementEntry& entry = doc.entries[e];
        const int line = ppflines::entry(e);
        const QString what = QStringLiteral("「%1」").arg(pos::entryCaption(e).trimmed());
        const bool placed = entry.left || entry.top || entry.right || entry.bottom;
        if (!placed && entry.value == pos::defaultValue()) continue;  // never placed
        if (entry.left < 0 || entry.top < 0 || entry.right < entry.left || entry.bottom < entry.top)
            out_.error(file, line, QStringLiteral("rectangle"),
                       tr("%1: the rectangle %2 is not a rectangle on a picture")
                           .arg(what, rectangleText(entry)));
        if (pos::valueKind(e) == pos::ValueKind::Correction) {
            if (!correction.match(entry.value).hasMatch() || entry.value.toInt() < -32768 ||
                entry.value.toInt() > 32767)
                out_.error(file, line, QStringLiteral("value"),
                           tr("%1: the correction value %2 is not a whole number")
                               .arg(what, quoted(entry.value)));
            continue;
        }
        if (!slotNumber.match(entry.value).hasMatch()) {
            out_.error(file, line, QStringLiteral("value"),
                       tr("%1: the picture slot %2 is not one digit 0 to 8")
                           .arg(what, quoted(entry.value)));
            continue;
        }
        const int slot = entry.value.toInt();
        if (doc.pictureSlots[slot].fileName.isEmpty()) {
            out_.error(file, line, QStringLiteral("value"),
                       tr("%1 names picture slot %2, which holds no picture")
                           .arg(what, pos::slotListText(slot)));
            continue;
        }
        if (pos::valueKind(e) == pos::ValueKind::NumeralPicture) {
            if (slot < 5)
                out_.warning(file, line, QStringLiteral("value"),
                             tr("%1 is a numeric display, but names the cabinet "
                                "picture slot %2, not a numeral picture (slots 5 to 8)")
                                 .arg(what, pos::slotListText(slot)));
            continue;
        }
        const QImage& image = images[slot];
        if (!image.isNull() && (entry.right >= image.width() || entry.bottom >= image.height()))
            out_.warning(
                file, line, QStringLiteral("outside"),
                tr("%1: the rectangle %2 reaches outside its picture %3 "
                   "(%4 x %5)")
                    .arg(what, rectangleText(entry), quoted(doc.pictureSlots[slot].fileName))
                    .arg(image.width())
                    .arg(image.height()));
    }
}

}  // namespace

int lineOfReason(const QString& reason, QString* rest) {
    static const QRegularExpression where(QStringLiteral("(\\d+) 行目: "));
    const QRegularExpressionMatch m = where.match(reason);
    if (!m.hasMatch()) {
        if (rest) *rest = reason;
        return 0;
    }
    if (rest) *rest = QString(reason).remove(m.capturedStart(), m.capturedLength());
    return m.captured(1).toInt();
}

bool checkFolder(const QString& folder, Findings& findings, QString* error) {
    return FolderCheck(folder, findings).run(error);
}

bool checkMachine(const QString& folder, const QString& orfName, Findings& findings,
                  MachineContents& contents, QString* error) {
    return FolderCheck(folder, findings, &contents, orfName).run(error);
}

void checkControlValues(Findings& out, const QString& file, const ControlDocument& doc) {
    FolderCheck::controlValues(out, file, doc);
}

}  // namespace check
