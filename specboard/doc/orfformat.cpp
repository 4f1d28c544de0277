#include "orfformat.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <climits>
#include <span>

#include "filelookup.h"
#include "pictures.h"
#include "reeldatasummary.h"
#include "savefile.h"
#include "sjis.h"
#include "textfile.h"

namespace orf {

namespace {

constexpr char FilesHeader[] = "# using filename and orvane infomation";
constexpr char ExplanationEnd[] = "End Of Exp";
constexpr char MachineHeader[] = "# orvane basic data and spec infomation";
constexpr char SoundHeader[] = "# using soundfilename and playtiming";
constexpr char EffectHeader[] = "# Sound Effect and BGM setting";

// A description longer than this without its end line is taken as a damaged file.
constexpr int MaxExplanationItems = MaxExplanationLines + 1;
// After the payout lines: the payout order switch and eight music numbers.
constexpr int EffectLinesAfterPayout = 1 + sound::StoredBgm;

constexpr qint64 MaxFileSize = 64LL * 1024 * 1024;

using namespace machine;

std::int16_t asSwitch(std::int16_t value) { return value != 0 ? 1 : 0; }

int payoutFlagCount(const MachineSpec& doc) {
    return std::clamp<int>(doc.reelData.flagCount, 0, MaxFlagCount);
}

QStringList explanationLines(const QString& explanation) {
    QString text = explanation;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    return text.split(u'\n');
}

QString unstorableWhy() {
    return QStringLiteral(
        "%1 にファイルに書けない文字（「,」「\"」、改行、Shift-JIS にない文字）があります。");
}

QString blankWhy() {
    return QStringLiteral("%1が空白で始まっています。読み込む時に先頭の空白が消えてしまいます。");
}

// Why one line would not come back as it went in; empty when it would.
QString lineProblem(const QString& line, const QString& where) {
    if (!isStorableLine(line)) return unstorableWhy().arg(where);
    if (startsWithBlank(line)) return blankWhy().arg(where);
    return {};
}

// ---- writing ----

void writeFilesAndDescription(TextWriter& w, const MachineSpec& s) {
    w.rawLine(FilesHeader);
    w.rawLine(s.reelFileName);
    w.rawLine(s.controlFileName);
    w.rawLine(s.bodyFileName);
    w.rawLine(s.machineName);
    w.rawLine(s.makerName);
    for (const QString& line : explanationLines(s.explanation)) w.rawLine(line);
    w.rawLine(ExplanationEnd);
}

void writeMachineData(TextWriter& w, const MachineSpec& s) {
    w.rawLine(MachineHeader);
    for (int setting = FirstSetting; setting <= LastSetting; ++setting)
        w.spacedLine({s.gensan[setting]});
    for (int flag = 0; flag < FlagSlots; ++flag)
        for (int setting = 0; setting < SettingSlots; ++setting)
            for (int bet = 0; bet < StoredBets; ++bet)
                w.spacedLine(std::span<const std::int32_t>(s.flagProb[flag][setting][bet].data(),
                                                           StoredStates));
    w.spacedLine({s.counterReset});
    w.spacedLine({s.threeBetOnly});
    w.spacedLine({s.hasCT});
    for (int big = 0; big < StoredBigs; ++big) w.spacedLine({s.ctEntryPct[big]});
    for (int i = 0; i < StoredCTEnds; ++i) w.rawLine(s.ctEndConText(i));
    for (int big = 0; big < StoredBigs; ++big)
        w.spacedLine(std::span<const std::int16_t>(s.superBigPct[big].data(), StoredBigs));
    for (int i = 0; i < BonusEndSlots; ++i) w.rawLine(s.bonusEndText(i));
    for (int bet = 0; bet < StoredBets; ++bet) {
        for (int line = 0; line < StoredLines; ++line) {
            const auto& cells = s.lineCell[bet][line];
            // One row across the three reels per line of the file.
            for (int row = 0; row < LineRows; ++row)
                w.spacedLine({cells[row], cells[LineRows + row], cells[2 * LineRows + row]});
            w.spacedLine({s.lineArea[bet][line]});
        }
    }
}

void writeCandidates(TextWriter& w, const auto& candidates) {
    for (int state = 0; state < sound::StoredBonusStates; ++state)
        for (int c = 0; c < sound::StoredCandidates; ++c)
            w.spacedLine({candidates[state][c].probability, candidates[state][c].sound});
}

void writeSoundTables(TextWriter& w, const sound::SoundTables& t) {
    using namespace sound;
    w.rawLine(SoundHeader);
    for (int n = 1; n <= LastSoundNumber; ++n) w.rawLine(t.files[n]);
    w.spacedLine({t.normalSound[MedalInsert]});
    writeCandidates(w, t.bonusCandidates[MedalInsert]);
    for (int big = 1; big <= 5; ++big) w.spacedLine({t.bigFirstPlaySound[big]});
    w.spacedLine({t.normalSound[ReelSpin]});
    writeCandidates(w, t.bonusCandidates[ReelSpin]);
    for (int flag = 0; flag < sound::FlagSlots; ++flag)
        for (int c = 0; c < StoredCandidates; ++c)
            w.spacedLine({t.flagCandidates[flag][c].probability, t.flagCandidates[flag][c].sound});
    w.spacedLine({t.normalSound[ReelStop]});
    for (int reelIndex = 0; reelIndex < StoredReels; ++reelIndex)
        for (int state = 0; state < StoredBonusStates; ++state)
            for (int c = 0; c < StoredCandidates; ++c) {
                const Candidate& k = t.stopBonusCandidates[reelIndex][state][c];
                w.spacedLine(
                    {k.probability, k.sound, t.stopBonusAfterFirstTwo[reelIndex][state][c]});
            }
    for (int reelIndex = 0; reelIndex < StoredReels; ++reelIndex)
        for (int flag = 0; flag < StoredStopFlags; ++flag)
            for (int c = 0; c < StoredCandidates; ++c) {
                const StopFlagCandidate& k = t.stopFlagCandidates[reelIndex][flag][c];
                w.spacedLine({k.probability, k.sound, k.afterFirstTwo});
            }
}

void writeEffects(TextWriter& w, const sound::SoundTables& t, int flagCount) {
    using namespace sound;
    w.rawLine(EffectHeader);
    for (int flag = 0; flag <= flagCount; ++flag)
        for (int timing = 0; timing < StoredPayTimings; ++timing)
            w.spacedLine({t.paySound[flag][0][timing], t.paySound[flag][1][timing],
                          t.paySound[flag][2][timing]});
    w.spacedLine({t.paySoundFirst});
    for (int i = 0; i < StoredBgm; ++i) w.spacedLine({t.bgmSound[i]});
}

// ---- reading ----

// Reads items until one begins with "#"; false when the file ends first.
bool skipToHeader(FieldReader& r) {
    for (;;) {
        const auto item = r.text();
        if (!item) return false;
        if (item->startsWith(u'#')) return true;
    }
}

bool readFilesAndDescription(FieldReader& r, MachineSpec& s, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why.isEmpty() ? r.errorString() : why;
        return false;
    };
    if (!skipToHeader(r)) return fail(QStringLiteral("見出しの行（# で始まる行）がありません。"));
    if (!r.readText(s.reelFileName) || !r.readText(s.controlFileName) ||
        !r.readText(s.bodyFileName))
        return fail({});
    return true;
}

bool readNamesAndExplanation(FieldReader& r, MachineSpec& s, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why.isEmpty() ? r.errorString() : why;
        return false;
    };
    if (!r.readText(s.machineName) || !r.readText(s.makerName)) return fail({});
    QStringList lines;
    for (int n = 0;; ++n) {
        if (n == MaxExplanationItems)
            return fail(QStringLiteral("説明の終わり（%1）が %2 項目以内にありません。")
                            .arg(QLatin1String(ExplanationEnd))
                            .arg(MaxExplanationItems));
        const auto item = r.text();
        if (!item)
            return fail(QStringLiteral("説明の終わり（%1）の前にファイルが終わっています。")
                            .arg(QLatin1String(ExplanationEnd)));
        if (*item == QLatin1String(ExplanationEnd)) break;
        lines << *item;
    }
    s.explanation = lines.join(QStringLiteral("\r\n"));
    if (!skipToHeader(r))
        return fail(QStringLiteral("機種データの見出しの前にファイルが終わっています。"));
    return true;
}

bool readMachineData(FieldReader& r, MachineSpec& s, QString* error) {
    auto fail = [&] {
        if (error) *error = r.errorString();
        return false;
    };
    for (int setting = FirstSetting; setting <= LastSetting; ++setting)
        if (!r.readInt16(s.gensan[setting])) return fail();
    for (int flag = 0; flag < FlagSlots; ++flag)
        for (int setting = 0; setting < SettingSlots; ++setting)
            for (int bet = 0; bet < StoredBets; ++bet)
                for (int state = 0; state < StoredStates; ++state)
                    if (!r.readInt32(s.flagProb[flag][setting][bet][state])) return fail();
    for (std::int16_t* flag : {&s.counterReset, &s.threeBetOnly, &s.hasCT}) {
        if (!r.readInt16(*flag)) return fail();
        *flag = asSwitch(*flag);  // a check box holds 0 or 1
    }
    for (int big = 0; big < StoredBigs; ++big)
        if (!r.readInt16(s.ctEntryPct[big])) return fail();
    QString text;
    for (int i = 0; i < StoredCTEnds; ++i) {
        if (!r.readText(text)) return fail();
        s.setCTEndConText(i, text);
    }
    for (int big = 0; big < StoredBigs; ++big)
        for (int result = 0; result < StoredBigs; ++result)
            if (!r.readInt16(s.superBigPct[big][result])) return fail();
    for (int i = 0; i < BonusEndSlots; ++i) {
        if (!r.readText(text)) return fail();
        s.setBonusEndText(i, text);
    }
    for (int bet = 0; bet < StoredBets; ++bet) {
        for (int line = 0; line < StoredLines; ++line) {
            auto& cells = s.lineCell[bet][line];
            for (int row = 0; row < LineRows; ++row)
                for (int reelIndex = 0; reelIndex < reel::ReelCount; ++reelIndex)
                    if (!r.readInt16(cells[reelIndex * LineRows + row])) return fail();
            if (!r.readInt16(s.lineArea[bet][line])) return fail();
        }
    }
    return true;
}

bool readCandidates(FieldReader& r, auto& candidates) {
    for (int state = 0; state < sound::StoredBonusStates; ++state)
        for (int c = 0; c < sound::StoredCandidates; ++c)
            if (!r.readInt32(candidates[state][c].probability) ||
                !r.readInt32(candidates[state][c].sound))
                return false;
    return true;
}

// Sound tables: whatever is read before a failure stays, the rest keeps its values.
bool readSoundTables(FieldReader& r, sound::SoundTables& t) {
    using namespace sound;
    for (int n = 1; n <= LastSoundNumber; ++n)
        if (!r.readText(t.files[n])) return false;
    if (!r.readInt16(t.normalSound[MedalInsert])) return false;
    if (!readCandidates(r, t.bonusCandidates[MedalInsert])) return false;
    for (int big = 1; big <= 5; ++big)
        if (!r.readInt16(t.bigFirstPlaySound[big])) return false;
    if (!r.readInt16(t.normalSound[ReelSpin])) return false;
    if (!readCandidates(r, t.bonusCandidates[ReelSpin])) return false;
    for (int flag = 0; flag < sound::FlagSlots; ++flag)
        for (int c = 0; c < StoredCandidates; ++c)
            if (!r.readInt32(t.flagCandidates[flag][c].probability) ||
                !r.readInt32(t.flagCandidates[flag][c].sound))
                return false;
    if (!r.readInt16(t.normalSound[ReelStop])) return false;
    for (int reelIndex = 0; reelIndex < StoredReels; ++reelIndex)
        for (int state = 0; state < StoredBonusStates; ++state)
            for (int c = 0; c < StoredCandidates; ++c) {
                Candidate& k = t.stopBonusCandidates[reelIndex][state][c];
                if (!r.readInt32(k.probability) || !r.readInt32(k.sound) ||
                    !r.readInt16(t.stopBonusAfterFirstTwo[reelIndex][state][c]))
                    return false;
            }
    for (int reelIndex = 0; reelIndex < StoredReels; ++reelIndex)
        for (int flag = 0; flag < StoredStopFlags; ++flag)
            for (int c = 0; c < StoredCandidates; ++c) {
                StopFlagCandidate& k = t.stopFlagCandidates[reelIndex][flag][c];
                if (!r.readInt32(k.probability) || !r.readInt32(k.sound) ||
                    !r.readInt32(k.afterFirstTwo))
                    return false;
            }
    return true;
}

bool readEffects(FieldReader& r, sound::SoundTables& t, int flagCount) {
    using namespace sound;
    for (int flag = 0; flag <= flagCount; ++flag)
        for (int timing = 0; timing < StoredPayTimings; ++timing)
            for (int state = 0; state < StoredPayStates; ++state)
                if (!r.readInt16(t.paySound[flag][state][timing])) return false;
    if (!r.readInt16(t.paySoundFirst)) return false;
    t.paySoundFirst = asSwitch(t.paySoundFirst);
    for (int i = 0; i < StoredBgm; ++i)
        if (!r.readInt16(t.bgmSound[i])) return false;
    return true;
}

// Reads the reel data file into `doc` only once it is known to fit; a file that ends
// after the reel arrangement leaves the flags as they were.
bool applyReelData(const ReferencedFiles& files, const QString& name, MachineSpec& doc,
                   QStringList& warnings, QString* error) {
    // The names come from the files, of any length: messages show them cut.
    const QString shownName = sjis::forDisplay(name, sjis::ShownNameChars);
    QByteArray bytes;
    QString why;
    if (!files.reelData(name, bytes, &why)) {
        if (error)
            *error = QStringLiteral("リールファイル「%1」を読めません。%2")
                         .arg(shownName, sjis::cutTextIn(why, name));
        return false;
    }
    ReelDataSummary summary;
    if (!readReelDataSummary(bytes, summary, &why)) {
        if (error)
            *error = QStringLiteral("リールファイル「%1」が不正です。%2").arg(shownName, why);
        return false;
    }
    if (summary.hasPrizes && summary.lastPrizeIndex > MaxFlagCount) {
        if (error)
            *error = QStringLiteral(
                         "リールファイル「%1」の役が多すぎます（最後の役の番号 %2、%3 まで）。")
                         .arg(shownName)
                         .arg(summary.lastPrizeIndex)
                         .arg(MaxFlagCount);
        return false;
    }
    ReelDataInfo& info = doc.reelData;
    for (int s = 0; s < reel::SymbolCount; ++s) {
        const QString& lit = summary.litNames[s];
        if (lit.isEmpty()) continue;  // the symbol keeps the picture it had
        QImage image;
        if (files.picture(lit, image, &why))
            info.symbolPictures[s] = std::move(image);
        else
            warnings << QStringLiteral("図柄 %1 の画像「%2」を読めません。%3")
                            .arg(s + 1)
                            .arg(sjis::forDisplay(lit, sjis::ShownNameChars),
                                 sjis::cutTextIn(why, lit));
    }
    if (summary.hasPrizes) {
        info.flagCount = static_cast<std::int16_t>(summary.lastPrizeIndex);
        std::copy(summary.prizes.begin(), summary.prizes.end(), info.flagPrize.begin());
    }
    doc.reelFileName = name;
    return true;
}

}  // namespace

bool FolderFiles::reelData(const QString& name, QByteArray& bytes, QString* error) const {
    const QString path = findFileInFolder(folder_, name);
    if (path.isEmpty()) {
        if (error)
            *error =
                QStringLiteral("ファイルが見つかりません: %1").arg(QDir(folder_).filePath(name));
        return false;
    }
    return readWholeFile(path, bytes, error, MaxFileSize);
}

bool FolderFiles::picture(const QString& name, QImage& image, QString* error) const {
    return pictures_.loadFromFolder(folder_, name, image, error);
}

bool MemoryFiles::reelData(const QString& name, QByteArray& bytes, QString* error) const {
    const auto it = reelFiles.constFind(name);
    if (it == reelFiles.constEnd()) {
        if (error) *error = QStringLiteral("ファイルが見つかりません: %1").arg(name);
        return false;
    }
    bytes = *it;
    return true;
}

bool MemoryFiles::picture(const QString& name, QImage& image, QString* error) const {
    const auto it = pictureFiles.constFind(name);
    if (it == pictureFiles.constEnd()) {
        if (error) *error = QStringLiteral("画像ファイルがありません: %1").arg(name);
        return false;
    }
    image = *it;
    return true;
}

QByteArray write(const MachineSpec& doc) {
    TextWriter w;
    w.reserve(48 * 1024);
    writeFilesAndDescription(w, doc);
    writeMachineData(w, doc);
    writeSoundTables(w, doc.sound);
    writeEffects(w, doc.sound, payoutFlagCount(doc));
    return w.take();
}

bool isStorableLine(const QString& text) {
    for (QChar c : text)
        if (c == u',' || c == u'"' || c == u'\r' || c == u'\n') return false;
    return sjis::isRepresentable(text);
}

bool startsWithBlank(QStringView line) { return line.startsWith(u' '); }

QString nameProblem(const QString& bareName) {
    if (!bareName.isEmpty() && isStorableLine(bareName) && !startsWithBlank(bareName)) return {};
    return QStringLiteral(
               "ファイル名「%1」はオルベーンファイルに書けません。"
               "「,」「\"」、先頭の空白、Shift-JIS にない文字を含まない名前にしてください。")
        .arg(bareName);
}

bool endsExplanation(QStringView line) {
    // Leading blanks are not read back, so an indented end line would end the description too.
    while (!line.isEmpty() && line.front() == u' ') line = line.mid(1);
    return line == QLatin1String(ExplanationEnd);
}

QString explanationProblem(const QString& explanation) {
    const QStringList lines = explanationLines(explanation);
    if (lines.size() > MaxExplanationLines)
        return QStringLiteral(
                   "「オルベーンの説明」が %1 行を超えています。読み込めるのは %1 行までです。")
            .arg(MaxExplanationLines);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const QString where = QStringLiteral("「オルベーンの説明」の %1 行目").arg(i + 1);
        if (QString problem = lineProblem(line, where); !problem.isEmpty()) return problem;
        if (endsExplanation(line))
            return QStringLiteral(
                       "%1 が「%2」だけの行です。読み込む時に説明がそこで終わってしまいます。")
                .arg(where, QLatin1String(ExplanationEnd));
    }
    return {};
}

QString unstorableText(const MachineSpec& s) {
    const std::pair<const QString*, QString> lines[] = {
        {&s.reelFileName, QStringLiteral("リールファイル名")},
        {&s.controlFileName, QStringLiteral("制御ファイル名")},
        {&s.bodyFileName, QStringLiteral("筐体ファイル名")},
        {&s.machineName, QStringLiteral("オルベーンのお名前")},
        {&s.makerName, QStringLiteral("作者のお名前")},
        {&s.ctEndConText(0), QStringLiteral("CT終了条件（枚純増）")},
        {&s.ctEndConText(1), QStringLiteral("CT終了条件（プレイ終了）")},
        {&s.bonusEndText(0), QStringLiteral("ボーナス終了条件（BB のゲーム数）")},
        {&s.bonusEndText(1), QStringLiteral("ボーナス終了条件（BB の RB 回数）")},
        {&s.bonusEndText(2), QStringLiteral("ボーナス終了条件（RB のゲーム数）")},
        {&s.bonusEndText(3), QStringLiteral("ボーナス終了条件（RB の入賞回数）")},
    };
    for (const auto& [text, label] : lines)
        if (QString problem = lineProblem(*text, QStringLiteral("「%1」").arg(label));
            !problem.isEmpty())
            return problem;
    if (QString problem = explanationProblem(s.explanation); !problem.isEmpty()) return problem;
    for (int n = 1; n <= sound::LastSoundNumber; ++n)
        if (QString problem =
                lineProblem(s.sound.files[n], QStringLiteral("効果音No %1 のファイル名").arg(n));
            !problem.isEmpty())
            return problem;
    return {};
}

bool readText(const QByteArray& bytes, const ReferencedFiles& files, MachineSpec& doc,
              ReadReport* report, QString* error) {
    FieldReader r(bytes);
    MachineSpec s = doc;
    ReadReport found;

    // Sections 1 and 2 must be whole: without them there is no machine to show.
    if (!readFilesAndDescription(r, s, error)) return false;
    // The reel data comes first: it decides how many payout lines the file holds.
    if (!s.reelFileName.isEmpty()) {
        if (!applyReelData(files, s.reelFileName, s, found.warnings, error)) return false;
        found.reelDataRead = true;
        found.pngPictures = files.pngPictures();
    }
    if (!readNamesAndExplanation(r, s, error)) return false;
    if (!readMachineData(r, s, error)) return false;

    // A file may end anywhere from here on; the sound settings not in it keep their values.
    auto stopped = [&] {
        found.stoppedReason = r.errorString();
        if (found.stoppedReason.isEmpty())
            found.stoppedReason = QStringLiteral("効果音の見出しがありません。");
    };
    if (skipToHeader(r) && readSoundTables(r, s.sound)) {
        found.soundSectionRead = true;
        if (r.skip()) {
            const int flagCount = payoutFlagCount(s);
            const qsizetype lines = r.remainingLines();
            const qsizetype payoutLines = lines - EffectLinesAfterPayout;
            if (payoutLines >= 2 && payoutLines % 2 == 0)
                found.writtenFlagCount =
                    static_cast<int>(std::min<qsizetype>(payoutLines / 2 - 1, INT_MAX));
            found.flagCountMismatch = found.writtenFlagCount != flagCount;
            found.effectSectionRead = readEffects(r, s.sound, flagCount);
            if (!found.effectSectionRead) stopped();
        } else {
            stopped();
        }
    } else {
        stopped();
    }

    doc = std::move(s);
    if (report) *report = std::move(found);
    return true;
}

bool readFile(const QString& path, MachineSpec& doc, ReadReport* report, QString* error) {
    QByteArray bytes;
    if (!readWholeFile(path, bytes, error, MaxFileSize)) return false;
    return readText(bytes, FolderFiles(folderOfPath(QFileInfo(path).absoluteFilePath())), doc,
                    report, error);
}

bool readReelData(const ReferencedFiles& files, const QString& name, MachineSpec& doc,
                  QStringList* warnings, QString* error, QStringList* pngPictures) {
    QStringList found;
    if (!applyReelData(files, name, doc, found, error)) return false;
    if (warnings) *warnings = found;
    if (pngPictures) *pngPictures = files.pngPictures();
    return true;
}

bool writeFile(const QString& path, const MachineSpec& doc, QString* error) {
    if (const QString problem = unstorableText(doc); !problem.isEmpty()) {
        if (error) *error = problem;
        return false;
    }
    return saveFileAtomically(path, write(doc), error);
}

}  // namespace orf
