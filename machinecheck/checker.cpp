#include "checker.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <optional>

#include "filelookup.h"
#include "linemap.h"
#include "machinefiles.h"
#include "machinefolder.h"
#include "pictures.h"
#include "soundcheck.h"

namespace check {

namespace {

using machinefiles::readBytes;

const char* const StateNames[] = {"lit", "unlit", "flash", "blink"};
const char* const ReelNames[] = {"left", "centre", "right"};
const QString PlayStates[] = {QStringLiteral("通常時"), QStringLiteral("BB中"),
                              QStringLiteral("RB中"), QStringLiteral("CT中")};
const QString BonusFlagStates[] = {QStringLiteral("ボーナス否成立"), QStringLiteral("BB成立後"),
                                   QStringLiteral("RB成立後")};
const QString StopOrders[] = {QStringLiteral("左中右"), QStringLiteral("左右中"),
                              QStringLiteral("中左右"), QStringLiteral("中右左"),
                              QStringLiteral("右左中"), QStringLiteral("右中左")};
const QString ProbStates[] = {QStringLiteral("低確率時"), QStringLiteral("高確率時"),
                              QStringLiteral("BB中"), QStringLiteral("RB中")};
const QString SoundGroups[] = {QStringLiteral("メタル投入音"), QStringLiteral("リール回転音"),
                               QStringLiteral("リール停止音")};
const QString BonusSoundStates[] = {QStringLiteral("BB成立後"), QStringLiteral("RB成立後")};
const QString PayStates[] = {QStringLiteral("通常時"), QStringLiteral("BB中"),
                             QStringLiteral("RB中")};
const QString PayTimings[] = {QStringLiteral("揃った時"), QStringLiteral("払い出し")};
const QString BgmNames[] = {QStringLiteral("レギラーボーナス"), QStringLiteral("ビッグボーナス 1"),
                            QStringLiteral("ビッグボーナス 2"), QStringLiteral("ビッグボーナス 3"),
                            QStringLiteral("ビッグボーナス 4"), QStringLiteral("ビッグボーナス 5"),
                            QStringLiteral("ビッグ終了時"),     QStringLiteral("ウェイト音")};
const QString LineRowNames[] = {QStringLiteral("枠上"), QStringLiteral("上段"),
                                QStringLiteral("中段"), QStringLiteral("下段"),
                                QStringLiteral("枠下")};

constexpr int MaxProbability = 65536;  // flag and sound probabilities are over 65536
constexpr int BaseTableShare = 256;    // base table probabilities are over 256
constexpr int MaxPay = 15;

QString quoted(const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); }

bool hasSuffix(const QString& name, const char* suffix) {
    return name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive);
}

// What the checker learnt of a reel data file, for the files laid out after it.
struct ReelInfo {
    QString path;
    QByteArray bytes;
    bool summaryRead = false;  // stopboard and specboard take it
    int lastPrizeIndex = 0;    // as they take it (0 when the file has no prize section)
};

class FolderCheck {
public:
    FolderCheck(const QString& folder, Findings& out) : folder_(folder), out_(out) {}
    bool run(QString* error);

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
    QImage checkPicture(const QString& referrer, int line, const QString& what,
                        const QString& name);
    void checkSoundFile(const QString& referrer, int line, int number, const QString& name);
    void reportRefusal(const QString& file, const QString& lead, const QString& reason);

    const ReelInfo& checkReelData(const QString& path);
    void checkControl(const QString& path, const ReelInfo* reel);
    void checkControlValues(const QString& file, const ControlDocument& doc);
    // False when the file names cannot be known (the file is refused).
    bool checkMachine(const QString& path);
    void checkMachineValues(const QString& file, const MachineSpec& spec, const TextLines& text,
                            const OrfLines& at);
    void checkMachineSounds(const QString& file, const MachineSpec& spec, const OrfLines& at);
    void checkPositions(const QString& path);
    void checkLooseFiles(const QStringList& names, const QSet<QString>& done);

    QString folder_;
    MachineFolder dir_;
    Findings& out_;
    QHash<QString, ReelInfo> reels_;
    QSet<QString> controlsDone_;
    QSet<QString> positionsDone_;
    QHash<QString, QImage> pictures_;  // decoded (or null when not decodable) by path
    QSet<QString> soundsDone_;
};

bool FolderCheck::run(QString* error) {
    if (!dir_.open(folder_, error)) return false;
    // Entries of every kind: a FIFO or folder under a machine file's name is reported.
    const QStringList orfs = dir_.namesEndingIn({QStringLiteral(".orf")});
    const QStringList loose = dir_.namesEndingIn(
        {QStringLiteral(".sdf"), QStringLiteral(".rcf"), QStringLiteral(".ppf")});
    if (orfs.isEmpty() && loose.isEmpty()) {
        if (error)
            *error = QStringLiteral("%1 holds no .orf, .sdf, .rcf or .ppf file").arg(folder_);
        return false;
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
               QStringLiteral("%1 is %2, not a file: no editor can read it")
                   .arg(quoted(name), kindText(kind)));
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
                out_.warning(
                    shown(name), 0, QStringLiteral("layout"),
                    reelNames.isEmpty()
                        ? QStringLiteral("no reel data file (.sdf) in the folder: the "
                                         "layout of the assignment section is not checked")
                        : QStringLiteral("no .orf, and no .sdf of the same name: the layout "
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
                   QStringLiteral("%1 %2 is not a bare file name: the editors look only in the "
                                  "machine's folder")
                       .arg(what, quoted(name)));
        return {};
    }
    const QString found = dir_.find(name);
    if (found.isEmpty()) {
        out_.error(referrer, line, QStringLiteral("missing"),
                   QStringLiteral("%1 %2 is missing from the folder").arg(what, quoted(name)));
        return {};
    }
    if (const EntryKind kind = dir_.kindOf(found); kind != EntryKind::File) {
        out_.error(referrer, line, QStringLiteral("missing"),
                   QStringLiteral("%1 %2 is %3 in the folder, not a file: the editors cannot "
                                  "read it")
                       .arg(what, quoted(found), kindText(kind)));
        return {};
    }
    if (found != name)
        out_.warning(referrer, line, QStringLiteral("case"),
                     QStringLiteral("%1 %2 is found only as %3: on a file system that tells "
                                    "cases apart only the exact name is found")
                         .arg(what, quoted(name), quoted(found)));
    return dir_.filePath(found);
}

void FolderCheck::reportRefusal(const QString& file, const QString& lead, const QString& reason) {
    QString rest;
    const int line = lineOfReason(reason, &rest);
    out_.error(file, line, QStringLiteral("refused"), lead + QStringLiteral(": ") + rest);
}

QImage FolderCheck::checkPicture(const QString& referrer, int line, const QString& what,
                                 const QString& name) {
    const QString path = locate(referrer, line, what, name);
    if (path.isEmpty()) return {};
    if (auto it = pictures_.constFind(path); it != pictures_.constEnd()) return *it;
    QImage image;
    QString why;
    if (!pictures::loadPicture(path, image, &why)) {
        QString rest;
        lineOfReason(why, &rest);
        out_.error(shownPath(path), 0, QStringLiteral("picture"),
                   QStringLiteral("the picture cannot be decoded (%1, line %2 of %3): %4")
                       .arg(what)
                       .arg(line)
                       .arg(bareNameOfPath(referrer), rest));
        image = QImage();
    }
    pictures_.insert(path, image);
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
        out_.error(file, 0, QStringLiteral("read"), QStringLiteral("cannot read the file: ") + why);
        return info;
    }
    const TextLines text(info.bytes);
    const SdfLines at(text);

    ReelDataDocument doc;
    const bool reelboardReads = machinefiles::readReelData(info.bytes, doc, &why);
    if (!reelboardReads)
        reportRefusal(file, QStringLiteral("reelboard refuses this reel data file"), why);

    ReelDataSummary summary;
    info.summaryRead = machinefiles::readReelSummary(info.bytes, summary, &why);
    if (!info.summaryRead && reelboardReads)
        reportRefusal(file, QStringLiteral("stopboard and specboard refuse this reel data file"),
                      why);
    if (!info.summaryRead) return info;
    if (!summary.hasPrizes) {
        out_.warning(file, text.count(), QStringLiteral("prizes"),
                     QStringLiteral("the file ends after the reel arrangement: it holds no prizes, "
                                    "and stopboard and specboard keep the prizes they had"));
    } else {
        info.lastPrizeIndex = summary.lastPrizeIndex;
        const int last = summary.lastPrizeIndex;
        if (last > control::MaxLastPrizeIndex)
            out_.error(file, at.lastPrizeIndex(), QStringLiteral("lpi"),
                       QStringLiteral("LastPrizeIndex %1 is above %2: a reel control file holds "
                                      "flags 0 to LastPrizeIndex + 1, at most flag %3%4")
                           .arg(last)
                           .arg(control::MaxLastPrizeIndex)
                           .arg(control::FlagCount - 1)
                           .arg(last > machine::MaxFlagCount
                                    ? QStringLiteral(", and it is above %1, the most a machine "
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
                             QStringLiteral("the %1 picture of symbol %2")
                                 .arg(QLatin1String(StateNames[st]))
                                 .arg(s + 1),
                             name);
        }
    for (int e = 0; e <= doc.lastPrizeIndex && e < reel::PrizeSlotCount; ++e) {
        const reel::PrizeEntry& p = doc.prizes[e];
        for (int r = 0; r < reel::ReelCount; ++r)
            if (!reel::isCombinationSymbol(p.symbols[r]))
                out_.error(file, at.prize(e, 0), QStringLiteral("prize symbol"),
                           QStringLiteral("prize %1, %2 reel: symbol %3 is neither 0 to 6 nor 100 "
                                          "(any symbol)")
                               .arg(e + 1)
                               .arg(QLatin1String(ReelNames[r]))
                               .arg(p.symbols[r]));
        for (int g = 0; g < reel::GameStateCount; ++g) {
            const QString state = reel::gameStateCaption(reel::GameState(g));
            if (p.pays[g] < 0 || p.pays[g] > MaxPay)
                out_.error(file, at.prize(e, 1), QStringLiteral("pay"),
                           QStringLiteral("prize %1, %2: pay %3 is outside 0..%4")
                               .arg(e + 1)
                               .arg(state)
                               .arg(p.pays[g])
                               .arg(MaxPay));
            if (p.kinds[g] < 0 || p.kinds[g] >= reel::PrizeKindCount)
                out_.error(file, at.prize(e, 2), QStringLiteral("kind"),
                           QStringLiteral("prize %1, %2: kind %3 is outside 0..7")
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
        reportRefusal(file, QStringLiteral("stopboard refuses this reel control file"), why);
        return;
    }
    const std::optional<int> written = report.writtenLastPrizeIndex;
    const bool writtenFits = written && *written <= control::MaxLastPrizeIndex;
    if (!written) {
        out_.error(
            file, rcflines::FirstAssignment, QStringLiteral("layout"),
            QStringLiteral("the assignment section holds %1 lines, which fits no "
                           "LastPrizeIndex (%2 lines a flag, flags 0 to LastPrizeIndex + 1): "
                           "the file is cut short or damaged")
                .arg(report.assignmentLines)
                .arg(control::LinesPerFlag));
    } else if (fits && *written != layout) {
        out_.error(
            file, rcflines::FirstAssignment, QStringLiteral("layout"),
            QStringLiteral("the assignment section was written for LastPrizeIndex %1, but "
                           "%2 has LastPrizeIndex %3: stopboard reads every assignment "
                           "after the first key group (通常時, ボーナス否成立, 1BET, 左中右) "
                           "for another key")
                .arg(*written)
                .arg(bareNameOfPath(reel->path))
                .arg(layout));
    }
    // Values are checked in the layout the file was written in.
    if (writtenFits && *written != layout) {
        layout = *written;
        ControlDocument again;
        if (!machinefiles::readControlFile(path, layout, again, report, &why)) return;
        doc = std::move(again);
    }
    checkControlValues(file, doc);
}

void FolderCheck::checkControlValues(const QString& file, const ControlDocument& doc) {
    using namespace control;
    for (int t = 1; t <= StopTableCount; ++t) {
        const auto stops = doc.stopTable(t);
        for (int p = 0; p < reel::PositionCount; ++p)
            for (int r = 0; r < reel::ReelCount; ++r) {
                const int v = stops[reel::cellOf(r, p)];
                if (v < 0 || v > 4)
                    out_.error(file, rcflines::stops(t, p), QStringLiteral("stop index"),
                               QStringLiteral("stop table %1, %2 reel, position %3: stop index "
                                              "%4 is outside 0..4")
                                   .arg(t)
                                   .arg(QLatin1String(ReelNames[r]), reel::positionLabel(p))
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
            out_.error(file, line, QStringLiteral("assignment"),
                       QStringLiteral("assignment of %1, %2, %3BET, %4, flag %5, big type %6, "
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
            auto range = [&](const char* kind, const char* what, int v, int lo, int hi) {
                if (v < lo || v > hi)
                    out_.error(file, rcflines::base(b, s), QLatin1String(kind),
                               QStringLiteral("base table %1, slot %2: %3 %4 is outside %5..%6")
                                   .arg(b)
                                   .arg(s + 1)
                                   .arg(QLatin1String(what))
                                   .arg(v)
                                   .arg(lo)
                                   .arg(hi));
            };
            range("base probability", "probability", slot.probability, 0, BaseTableShare);
            range("base table number", "stop table", slot.table, 1, StopTableCount);
        }
        if ((used || assigned[b]) && sum != BaseTableShare)
            out_.warning(file, rcflines::base(b, 0), QStringLiteral("base sum"),
                         QStringLiteral("base table %1%2: the probabilities of its slots add up "
                                        "to %3, not 256")
                             .arg(b)
                             .arg(assigned[b] ? QStringLiteral(" (assigned)") : QString())
                             .arg(sum));
    }
}

// ---- machine ----

bool FolderCheck::checkMachine(const QString& path) {
    const QString file = shownPath(path);
    QByteArray bytes;
    QString why;
    if (!readBytes(path, bytes, &why)) {
        out_.error(file, 0, QStringLiteral("read"), QStringLiteral("cannot read the file: ") + why);
        return false;
    }
    const TextLines text(bytes);
    const OrfLines at(text);

    // A first read against a stand-in reel data file tells the names and whether the
    // file itself reads.
    MachineSpec spec;
    orf::ReadReport report;
    if (!machinefiles::readMachine(bytes, machinefiles::standInReelData(0), spec, report, &why)) {
        reportRefusal(file, QStringLiteral("specboard refuses this machine file"), why);
        return false;
    }

    const ReelInfo* reel = nullptr;
    if (spec.reelFileName.isEmpty()) {
        out_.warning(file, at.reelFileName(), QStringLiteral("names"),
                     QStringLiteral("names no reel data file (.sdf)"));
    } else if (const QString p = locate(file, at.reelFileName(),
                                        QStringLiteral("the reel data file"), spec.reelFileName);
               !p.isEmpty()) {
        reel = &checkReelData(p);
    }

    const bool usable = reel && reel->summaryRead && reel->lastPrizeIndex <= machine::MaxFlagCount;
    bool layoutMismatch = false;
    if (usable) {
        MachineSpec real;
        orf::ReadReport realReport;
        if (!machinefiles::readMachine(bytes, reel->bytes, real, realReport, &why)) {
            reportRefusal(file, QStringLiteral("specboard refuses this machine file"), why);
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
                           ? QStringLiteral("the payout sound section fits no flag count: %1 has "
                                            "LastPrizeIndex %2, which needs %3 lines")
                                 .arg(bareNameOfPath(reel->path))
                                 .arg(n)
                                 .arg(2 * (n + 1))
                           : QStringLiteral("the payout sound section was written for %1 flags "
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
                     QStringLiteral("the sound settings end early, and specboard keeps the sound "
                                    "settings it had: ") +
                         rest);
    }

    checkMachineValues(file, spec, text, at);
    checkMachineSounds(file, spec, at);

    if (spec.controlFileName.isEmpty())
        out_.warning(file, at.controlFileName(), QStringLiteral("names"),
                     QStringLiteral("names no reel control file (.rcf)"));
    else if (const QString p =
                 locate(file, at.controlFileName(), QStringLiteral("the reel control file"),
                        spec.controlFileName);
             !p.isEmpty())
        checkControl(p, reel);
    if (spec.bodyFileName.isEmpty())
        out_.warning(file, at.bodyFileName(), QStringLiteral("names"),
                     QStringLiteral("names no picture position file (.ppf)"));
    else if (const QString p =
                 locate(file, at.bodyFileName(), QStringLiteral("the picture position file"),
                        spec.bodyFileName);
             !p.isEmpty())
        checkPositions(p);
    return true;
}

// A text the file stores for a number box: digits only, at most `max`.
void checkBoxText(Findings& out, const QString& file, int line, const QString& what,
                  const QByteArray& raw, int max) {
    QByteArray text = raw;
    while (text.startsWith(' ')) text.remove(0, 1);  // the reader skips leading blanks
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    const QString shownText = QString::fromLatin1(text);
    if (text.isEmpty()) {
        out.warning(file, line, QStringLiteral("box text"),
                    QStringLiteral("%1 is empty (the box shows 0 when left)").arg(what));
    } else if (!digits.match(shownText).hasMatch() || text.size() > 9 || text.toInt() > max) {
        out.error(file, line, QStringLiteral("box text"),
                  QStringLiteral("%1: %2 is not a number from 0 to %3")
                      .arg(what, quoted(shownText))
                      .arg(max));
    }
}

void FolderCheck::checkMachineValues(const QString& file, const MachineSpec& s,
                                     const TextLines& text, const OrfLines& at) {
    using namespace machine;
    auto range = [&](int line, const QString& kind, const QString& what, long long v, long long lo,
                     long long hi) {
        if (v < lo || v > hi)
            out_.error(file, line, kind,
                       QStringLiteral("%1: %2 is outside %3..%4").arg(what).arg(v).arg(lo).arg(hi));
    };
    const int flags = std::clamp<int>(s.reelData.flagCount, 0, MaxFlagCount) + 1;

    for (int setting = FirstSetting; setting <= LastSetting; ++setting)
        range(at.gensan(setting), QStringLiteral("gensan"),
              QStringLiteral("減算値 of setting %1").arg(setting), s.gensan[setting], 0, 256);
    for (int setting = FirstSetting; setting <= LastSetting; ++setting)
        for (int bet = 0; bet < StoredBets; ++bet)
            for (int state = 0; state < StoredStates; ++state) {
                long long sum = 0;
                for (int f = 0; f < flags; ++f) {
                    const std::int32_t v = s.flagProb[f][setting][bet][state];
                    sum += v;
                    range(at.flagProb(f, setting, bet), QStringLiteral("flag probability"),
                          QStringLiteral("flag %1, setting %2, %3BET, %4: probability")
                              .arg(f + 1)
                              .arg(setting)
                              .arg(bet + 1)
                              .arg(ProbStates[state]),
                          v, 0, MaxProbability);
                }
                if (sum > MaxProbability)
                    out_.warning(file, at.flagProb(0, setting, bet), QStringLiteral("flag sum"),
                                 QStringLiteral("setting %1, %2BET, %3: the probabilities of the "
                                                "%4 flags add up to %5, above 65536")
                                     .arg(setting)
                                     .arg(bet + 1)
                                     .arg(ProbStates[state])
                                     .arg(flags)
                                     .arg(sum));
            }
    for (int big = 0; big < StoredBigs; ++big)
        range(at.ctEntryPct(big), QStringLiteral("percentage"),
              QStringLiteral("CT entry percentage for ビッグ%1").arg(big + 1), s.ctEntryPct[big], 0,
              100);
    const QString ctEnds[] = {QStringLiteral("CT end condition 枚純増"),
                              QStringLiteral("CT end condition プレイ終了")};
    for (int i = 0; i < StoredCTEnds; ++i)
        checkBoxText(out_, file, at.ctEndCon(i), ctEnds[i], text.line(at.ctEndCon(i)), 9999);
    for (int big = 0; big < StoredBigs; ++big)
        for (int result = 0; result < StoredBigs; ++result)
            range(at.superBigPct(big), QStringLiteral("percentage"),
                  QStringLiteral("super big: ビッグ%1 lined up becomes ビッグ%2, percentage")
                      .arg(big + 1)
                      .arg(result + 1),
                  s.superBigPct[big][result], 0, 100);
    const QString bonusEnds[] = {QStringLiteral("bonus end BB games (G行うか)"),
                                 QStringLiteral("bonus end BB regular bonuses (回RB)"),
                                 QStringLiteral("bonus end RB games (G行うか)"),
                                 QStringLiteral("bonus end RB wins (回入賞)")};
    const int bonusEndMax[] = {99, 9, 99, 9};
    for (int i = 0; i < BonusEndSlots; ++i)
        checkBoxText(out_, file, at.bonusEnd(i), bonusEnds[i], text.line(at.bonusEnd(i)),
                     bonusEndMax[i]);

    for (int bet = 0; bet < StoredBets; ++bet)
        for (int line = 0; line < StoredLines; ++line) {
            const auto& cells = s.lineCell[bet][line];
            const QString what = QStringLiteral("pay line %1 of %2BET").arg(line + 1).arg(bet + 1);
            int total = 0;
            bool twoOnAReel = false;
            for (int r = 0; r < reel::ReelCount; ++r) {
                int onReel = 0;
                for (int row = 0; row < LineRows; ++row) {
                    const int v = cells[r * LineRows + row];
                    if (v != 0 && v != 1)
                        out_.error(file, at.payLine(bet, line) + row, QStringLiteral("line cell"),
                                   QStringLiteral("%1, %2 reel, %3: cell value %4 is neither 0 "
                                                  "nor 1")
                                       .arg(what, QLatin1String(ReelNames[r]), LineRowNames[row])
                                       .arg(v));
                    onReel += v == 1 ? 1 : 0;
                }
                total += onReel;
                twoOnAReel = twoOnAReel || onReel > 1;
            }
            if (twoOnAReel || (total != 0 && total != 3))
                out_.error(file, at.payLine(bet, line), QStringLiteral("line"),
                           QStringLiteral("%1 has %2 cells%3; a line has none or three, one on "
                                          "each reel")
                               .arg(what)
                               .arg(total)
                               .arg(twoOnAReel ? QStringLiteral(", two on one reel") : QString()));
            range(at.lineArea(bet, line), QStringLiteral("line area"),
                  what + QStringLiteral(": region number (領域番号)"), s.lineArea[bet][line], 0, 5);
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
                       QStringLiteral("%1: sound number %2 is outside 0..128").arg(what).arg(v));
        else if (v > 0 && t.files[v].isEmpty())
            out_.error(file, line, QStringLiteral("sound number"),
                       QStringLiteral("%1: sound %2 names an empty entry of the sound registry")
                           .arg(what)
                           .arg(v));
    };
    auto probability = [&](int line, const QString& what, long long v) {
        if (v < 0 || v > MaxProbability)
            out_.error(file, line, QStringLiteral("sound probability"),
                       QStringLiteral("%1: probability %2 is outside 0..65536").arg(what).arg(v));
    };
    auto afterFirstTwo = [&](int line, const QString& what, int v) {
        if (v != 0 && v != 1)
            out_.error(
                file, line, QStringLiteral("check box"),
                QStringLiteral("%1: the check value %2 is neither 0 nor 1").arg(what).arg(v));
    };
    // One lottery among six candidates.
    auto candidates = [&](int firstLine, const QString& what, auto get) {
        long long sum = 0;
        for (int c = 0; c < StoredCandidates; ++c) {
            const auto& k = get(c);
            const QString one = QStringLiteral("%1, candidate %2").arg(what).arg(c + 1);
            probability(firstLine + c, one, k.probability);
            number(firstLine + c, one, k.sound);
            sum += k.probability;
        }
        if (sum > MaxProbability)
            out_.warning(file, firstLine, QStringLiteral("sound sum"),
                         QStringLiteral("%1: the probabilities of the candidates add up to %2, "
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
                              QStringLiteral("%1, candidate %2").arg(what).arg(c + 1),
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
                              QStringLiteral("%1, candidate %2").arg(what).arg(c + 1),
                              t.stopFlagCandidates[r][f][c].afterFirstTwo);
        }
    }
    const int flagCount = std::clamp<int>(spec.reelData.flagCount, 0, machine::MaxFlagCount);
    for (int f = 0; f <= flagCount; ++f)
        for (int timing = 0; timing < StoredPayTimings; ++timing)
            for (int st = 0; st < StoredPayStates; ++st)
                number(at.paySound(f, timing),
                       QStringLiteral("payout sound of flag %1, %2, %3")
                           .arg(f + 1)
                           .arg(PayStates[st], PayTimings[timing]),
                       t.paySound[f][st][timing]);
    for (int i = 0; i < StoredBgm; ++i)
        number(at.bgm(i, flagCount), QStringLiteral("BGM %1").arg(BgmNames[i]), t.bgmSound[i]);
}

void FolderCheck::checkSoundFile(const QString& referrer, int line, int number,
                                 const QString& name) {
    const QString what = QStringLiteral("sound %1").arg(number);
    // specboard picks the player by the last character of the name, case and all.
    const bool wav = name.endsWith(u'v') || hasSuffix(name, ".wav");
    const bool midi = name.endsWith(u'd') || hasSuffix(name, ".mid");
    if (!wav && !midi) {
        out_.error(referrer, line, QStringLiteral("sound kind"),
                   QStringLiteral("%1 %2 is neither a WAV (.wav) nor a MIDI (.mid) file: specboard "
                                  "cannot play it")
                       .arg(what, quoted(name)));
        return;
    }
    if (!name.endsWith(u'v') && !name.endsWith(u'd'))
        out_.warning(referrer, line, QStringLiteral("sound kind"),
                     QStringLiteral("%1 %2: specboard plays a sound only when its name ends in a "
                                    "lower-case \"v\" or \"d\" (.wav, .mid)")
                         .arg(what, quoted(name)));
    const QString path = locate(referrer, line, what, name);
    if (path.isEmpty() || soundsDone_.contains(path)) return;
    soundsDone_.insert(path);
    QByteArray bytes;
    QString why;
    if (!readBytes(path, bytes, &why)) {
        out_.error(shownPath(path), 0, QStringLiteral("sound"),
                   QStringLiteral("cannot read the sound file: ") + why);
        return;
    }
    const QString problem = wav ? wavProblem(bytes) : midiProblem(bytes);
    if (!problem.isEmpty())
        out_.error(shownPath(path), 0, QStringLiteral("sound"),
                   QStringLiteral("the sound cannot be decoded (%1, line %2 of %3): %4")
                       .arg(what)
                       .arg(line)
                       .arg(bareNameOfPath(referrer), problem));
}

// ---- picture positions ----

void FolderCheck::checkPositions(const QString& path) {
    if (positionsDone_.contains(path)) return;
    positionsDone_.insert(path);
    const QString file = shownPath(path);
    QByteArray bytes;
    QString why;
    if (!readBytes(path, bytes, &why)) {
        out_.error(file, 0, QStringLiteral("read"), QStringLiteral("cannot read the file: ") + why);
        return;
    }
    PositionDocument doc;
    ppf::ReadReport report;
    if (!machinefiles::readPositions(bytes, doc, report, &why)) {
        reportRefusal(file, QStringLiteral("posboard refuses this picture position file"), why);
        return;
    }
    if (report.countLine != pos::LastEntry)
        out_.warning(file, ppflines::Count, QStringLiteral("count"),
                     QStringLiteral("the count line says %1; posboard writes 32 and reads 33 "
                                    "entries whatever it says")
                         .arg(report.countLine));
    std::array<QImage, pos::SlotCount> images;
    for (int s = 0; s < pos::SlotCount; ++s)
        if (const QString& name = doc.pictureSlots[s].fileName; !name.isEmpty())
            images[s] = checkPicture(
                file, ppflines::slot(s),
                QStringLiteral("the picture of slot %1").arg(pos::slotListText(s)), name);

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
                       QStringLiteral("%1: the rectangle %2 is not a rectangle on a picture")
                           .arg(what, rectangleText(entry)));
        if (pos::valueKind(e) == pos::ValueKind::Correction) {
            if (!correction.match(entry.value).hasMatch() || entry.value.toInt() < -32768 ||
                entry.value.toInt() > 32767)
                out_.error(file, line, QStringLiteral("value"),
                           QStringLiteral("%1: the correction value %2 is not a whole number")
                               .arg(what, quoted(entry.value)));
            continue;
        }
        if (!slotNumber.match(entry.value).hasMatch()) {
            out_.error(file, line, QStringLiteral("value"),
                       QStringLiteral("%1: the picture slot %2 is not one digit 0 to 8")
                           .arg(what, quoted(entry.value)));
            continue;
        }
        const int slot = entry.value.toInt();
        if (doc.pictureSlots[slot].fileName.isEmpty()) {
            out_.error(file, line, QStringLiteral("value"),
                       QStringLiteral("%1 names picture slot %2, which holds no picture")
                           .arg(what, pos::slotListText(slot)));
            continue;
        }
        if (pos::valueKind(e) == pos::ValueKind::NumeralPicture) {
            if (slot < 5)
                out_.warning(file, line, QStringLiteral("value"),
                             QStringLiteral("%1 is a numeric display, but names the cabinet "
                                            "picture slot %2, not a numeral picture (slots 5 to 8)")
                                 .arg(what, pos::slotListText(slot)));
            continue;
        }
        const QImage& image = images[slot];
        if (!image.isNull() && (entry.right >= image.width() || entry.bottom >= image.height()))
            out_.warning(
                file, line, QStringLiteral("outside"),
                QStringLiteral("%1: the rectangle %2 reaches outside its picture %3 "
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

}  // namespace check
