#include "sheet.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <vector>

#include "captions.h"
#include "filelookup.h"
#include "machinefiles.h"
#include "machinefolder.h"
#include "sheetpictures.h"

namespace check {

namespace {

using namespace captions;

constexpr int MaxProbability = 65536;
constexpr int BaseTableShare = 256;
constexpr int MaxPay = 15;
// A cell of the control summary names at most this many base tables, the most used first.
constexpr int BaseTablesPerCell = 8;
// A sound lists at most this many of the occasions it plays on.
constexpr int OccasionsPerSound = 12;

const QSize StripBox(72, 36);
const QSize PrizeBox(48, 24);
const QSize FlagBox(30, 15);
const QSize CabinetBox(640, 640);  // the most a cabinet picture keeps of its pixels
constexpr int CabinetShownWidth = 340;

// The first line of every sheet: a later run knows its own sheet by it.
const char Generator[] = "<meta name=\"generator\" content=\"machinecheck sheet\">";

const char Style[] = R"(
@page { size: A4; margin: 12mm 10mm; }
* { box-sizing: border-box; print-color-adjust: exact; -webkit-print-color-adjust: exact; }
body { font-family: "IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "Hiragino Sans",
  "Yu Gothic", Meiryo, sans-serif; font-size: 10pt; color: #111; background: #fff;
  margin: 0 auto; padding: 8px; max-width: 190mm; line-height: 1.35; }
h1 { font-size: 17pt; margin: 0 0 4px; }
h2 { font-size: 13pt; margin: 18px 0 6px; padding: 2px 0; border-bottom: 2px solid #345;
  break-after: avoid; }
h3 { font-size: 11pt; margin: 10px 0 4px; break-after: avoid; }
p { margin: 4px 0; }
nav a { margin-right: 10px; }
a { color: #124; }
table { border-collapse: collapse; margin: 4px 0 8px; break-inside: avoid; }
th, td { border: 1px solid #999; padding: 1px 4px; vertical-align: middle; }
th { background: #e8ecf0; font-weight: normal; }
tr { break-inside: avoid; }
.n { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
.odds { color: #555; font-size: 8.5pt; }
.bad, td.bad, li.error { color: #a00; }
td.bad, span.bad { background: #fde8e8; }
li.warning { color: #850; }
.sev { font-weight: bold; }
.row { display: flex; flex-wrap: wrap; gap: 14px; align-items: flex-start; }
.pic { display: inline-block; vertical-align: middle; object-fit: contain; }
span.pic { display: inline-flex; align-items: center; justify-content: center;
  border: 1px dashed #999; color: #777; font-size: 7pt; text-align: center;
  overflow: hidden; line-height: 1.1; word-break: break-all; }
.nw { white-space: nowrap; }
span.nopic { border: 2px dashed #c00; color: #c00; background: #fff4f4; }
span.any { border: 1px solid #345; color: #345; font-weight: bold; font-size: 8pt; }
.strip td { padding: 1px; position: relative; }
.sn { font-size: 7pt; color: #555; margin-left: 2px; }
.fname { font-size: 7.5pt; color: #444; word-break: break-all; }
.exp { white-space: pre-wrap; border-left: 3px solid #ccd; padding-left: 8px; }
.grid td { width: 16px; height: 14px; padding: 0; }
.grid td.on { background: #345; }
.grid tr.outside td { height: 8px; background: #f3f3f3; }
.grid tr.outside td.on { background: #789; }
.line { display: inline-block; margin: 0 12px 6px 0; font-size: 8.5pt; break-inside: avoid; }
.stops { display: flex; flex-wrap: wrap; gap: 6px; }
.stop { break-inside: avoid; font-size: 7pt; }
.stop table { margin: 0; }
.stop td { width: 11px; height: 9px; padding: 0; text-align: center; font-size: 6.5pt;
  line-height: 9px; border-color: #bbb; }
.stop th { padding: 0 2px; font-size: 6pt; line-height: 9px; }
.stop .title { max-width: 60px; overflow: hidden; white-space: nowrap; text-overflow: ellipsis; }
td.v0 { background: #fff; } td.v1 { background: #e4edf6; } td.v2 { background: #c6d8ea; }
td.v3 { background: #a3c0dc; } td.v4 { background: #7ea6cc; }
ul.findings { padding-left: 18px; margin: 4px 0; }
ul.findings li { margin: 1px 0; word-break: break-word; }
figure { margin: 0 0 8px; break-inside: avoid; }
figcaption { font-size: 8.5pt; margin-bottom: 2px; }
svg text { font-family: sans-serif; }
)";

QString esc(const QString& text) { return text.toHtmlEscaped(); }

QString num(long long v) { return QString::number(v); }

// "1/x" of a probability over 65536, as the editors show it beside the value.
QString odds(long long v) {
    if (v <= 0) return QStringLiteral("—");
    if (v > MaxProbability) return QStringLiteral("1/%1").arg(double(MaxProbability) / double(v));
    return QStringLiteral("1/") + oddsText(std::int32_t(v));
}

QString sameFolderName(const QString& path) {
    return path.isEmpty() ? QString() : bareNameOfPath(path);
}

class SheetWriter {
    Q_DECLARE_TR_FUNCTIONS(Sheet)

public:
    SheetWriter(const MachineContents& contents, const QList<Finding>& findings)
        : c_(contents), findings_(findings) {}
    QString page();

private:
    void header();
    void findingsSection();
    void reelsSection();
    void prizesSection();
    void flagsSection();
    void bonusSection();
    void linesSection();
    void controlSection();
    void soundsSection();
    void positionsSection();

    // The document a section shows.
    enum class Source { None, Machine, Reel, Control, Positions };
    // Opens a section; false, after saying so and closing it, when its document is not there.
    bool section(const char* id, const QString& title, Source source = Source::None);
    void unread(const QString& what, const QString& file);
    QString sectionOf(const Finding& finding) const;

    int flagCount() const;  // flags 1..flagCount()
    const reel::PrizeEntry* prizeOfFlag(int flag) const;
    QString symbolPicture(int symbol, int state, QSize box);
    QString namedPicture(const QString& name, QSize box, bool symbol);
    QString flagPictures(int flag, QSize box);
    QString emptyBox(QSize box, const QString& text, const char* kind);

    const MachineContents& c_;
    const QList<Finding>& findings_;
    QString out_;
    sheet::PictureCache pictures_;
};

QString SheetWriter::page() {
    out_.reserve(1 << 20);
    out_ += QStringLiteral("<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\">") +
            QLatin1String(Generator) + QStringLiteral("\n<title>");
    const QString name = c_.spec && !c_.spec->machineName.isEmpty() ? c_.spec->machineName
                                                                    : sameFolderName(c_.orfPath);
    out_ += esc(name) + QStringLiteral("</title><style>") + QLatin1String(Style) +
            QStringLiteral("</style></head>\n<body>\n");
    header();
    findingsSection();
    reelsSection();
    prizesSection();
    flagsSection();
    bonusSection();
    linesSection();
    controlSection();
    soundsSection();
    positionsSection();
    out_ += QStringLiteral("</body></html>\n");
    return std::move(out_);
}

bool SheetWriter::section(const char* id, const QString& title, Source source) {
    out_ += QStringLiteral("<section id=\"%1\"><h2>%2</h2>\n").arg(QLatin1String(id), esc(title));
    const QString orf = sameFolderName(c_.orfPath);
    auto named = [&](QString MachineSpec::*name) { return c_.spec ? (*c_.spec).*name : QString(); };
    switch (source) {
        case Source::None:
            return true;
        case Source::Machine:
            if (c_.spec) return true;
            unread(tr("the machine file"), orf);
            break;
        case Source::Reel:
            if (c_.reel) return true;
            unread(tr("the reel data file"), named(&MachineSpec::reelFileName));
            break;
        case Source::Control:
            if (c_.control) return true;
            unread(tr("the reel control file"), named(&MachineSpec::controlFileName));
            break;
        case Source::Positions:
            if (c_.positions) return true;
            unread(tr("the picture position file"), named(&MachineSpec::bodyFileName));
            break;
    }
    out_ += QStringLiteral("</section>\n");
    return false;
}

void SheetWriter::unread(const QString& what, const QString& file) {
    out_ += QStringLiteral("<p class=\"bad\">") +
            esc(file.isEmpty() ? tr("The machine names no %1.").arg(what)
                               : tr("Cannot read %1 %2: see the findings.")
                                     .arg(what, QLatin1Char('"') + file + QLatin1Char('"'))) +
            QStringLiteral(" <a href=\"#findings\">↑</a></p>\n");
}

int SheetWriter::flagCount() const {
    int last = 0;
    if (c_.spec)
        last = c_.spec->reelData.flagCount;
    else if (c_.reel)
        last = c_.reel->lastPrizeIndex;
    return std::clamp(last, 0, machine::MaxFlagCount) + 1;
}

const reel::PrizeEntry* SheetWriter::prizeOfFlag(int flag) const {
    const int entry = flag - 1;
    if (entry < 0 || entry >= reel::PrizeSlotCount) return nullptr;
    // Without the reel data file nothing tells a flag's combination.
    if (!c_.reel || entry > c_.reel->lastPrizeIndex) return nullptr;
    return &c_.reel->prizes[entry];
}

QString SheetWriter::emptyBox(QSize box, const QString& text, const char* kind) {
    return QStringLiteral(
               "<span class=\"pic %1\" style=\"width:%2px;height:%3px\" title=\"%4\">"
               "%4</span>")
        .arg(QLatin1String(kind))
        .arg(box.width())
        .arg(box.height())
        .arg(esc(text));
}

QString SheetWriter::namedPicture(const QString& name, QSize box, bool symbol) {
    if (name.isEmpty()) return emptyBox(box, QString(), "");
    const auto it = c_.pictures.constFind(name);
    if (it == c_.pictures.constEnd() || it->state == FileState::Missing)
        return emptyBox(box, tr("missing: %1").arg(name), "nopic");
    if (it->state == FileState::Refused || it->image.isNull())
        return emptyBox(box, tr("refused: %1").arg(name), "nopic");
    const QString uri =
        symbol ? pictures_.symbol(name, it->image, box) : pictures_.cabinet(name, it->image, box);
    return QStringLiteral("<img class=\"pic\" src=\"%1\" width=\"%2\" height=\"%3\" alt=\"%4\">")
        .arg(uri)
        .arg(box.width())
        .arg(box.height())
        .arg(esc(name));
}

QString SheetWriter::symbolPicture(int symbol, int state, QSize box) {
    if (symbol == reel::AnySymbol) return emptyBox(box, tr("any"), "any");
    if (!reel::isSymbol(symbol) || !c_.reel)
        return emptyBox(box, tr("symbol %1").arg(symbol), "nopic");
    return namedPicture(c_.reel->symbols[symbol].names[state], box, true);
}

QString SheetWriter::flagPictures(int flag, QSize box) {
    const reel::PrizeEntry* prize = prizeOfFlag(flag);
    if (!prize) return {};
    QString cells;
    for (int r = 0; r < reel::ReelCount; ++r) cells += symbolPicture(prize->symbols[r], 0, box);
    return cells;
}

// ---- head and findings ----

void SheetWriter::header() {
    out_ += QStringLiteral("<header>");
    if (!c_.spec) {
        out_ += QStringLiteral("<h1>%1</h1>").arg(esc(sameFolderName(c_.orfPath)));
        unread(tr("the machine file"), sameFolderName(c_.orfPath));
        out_ += QStringLiteral("</header>\n");
        return;
    }
    const MachineSpec& s = *c_.spec;
    out_ += QStringLiteral("<h1>%1</h1>\n").arg(esc(s.machineName));
    out_ += QStringLiteral("<p>%1: %2</p>\n").arg(esc(tr("Author")), esc(s.makerName));
    if (!s.explanation.isEmpty())
        out_ +=
            QStringLiteral("<div class=\"exp\">%1</div>\n")
                .arg(esc(
                    QString(s.explanation).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))));
    out_ += QStringLiteral("<table><tbody>\n");
    auto fileRow = [&](const QString& what, const QString& name, bool read) {
        const bool bad = !name.isEmpty() && !read;
        out_ += QStringLiteral("<tr><th>%1</th><td%2>%3%4</td></tr>\n")
                    .arg(esc(what), bad ? QStringLiteral(" class=\"bad\"") : QString(),
                         name.isEmpty() ? QStringLiteral("—") : esc(name),
                         bad ? QStringLiteral(" ") + esc(tr("(cannot be read)")) : QString());
    };
    fileRow(tr("machine file"), sameFolderName(c_.orfPath), true);
    fileRow(tr("reel data file"), s.reelFileName, c_.reel.has_value());
    fileRow(tr("reel control file"), s.controlFileName, c_.control.has_value());
    fileRow(tr("picture position file"), s.bodyFileName, c_.positions.has_value());
    out_ += QStringLiteral("<tr><th>%1</th><td>%2</td></tr>\n")
                .arg(esc(tr("flags")),
                     esc(tr("%1 (flags 1 to %1; flag 0 is no prize)").arg(flagCount())));
    out_ += QStringLiteral("</tbody></table>\n");
    const std::pair<const char*, QString> sections[] = {{"findings", tr("Findings")},
                                                        {"reels", tr("Reel strips")},
                                                        {"prizes", tr("Prizes")},
                                                        {"flags", tr("Flags and probabilities")},
                                                        {"bonus", tr("Bonus rules")},
                                                        {"lines", tr("Pay lines")},
                                                        {"control", tr("Reel control")},
                                                        {"sounds", tr("Sounds")},
                                                        {"positions", tr("Picture positions")}};
    out_ += QStringLiteral("<nav>");
    for (const auto& [id, title] : sections)
        out_ += QStringLiteral("<a href=\"#%1\">%2</a>").arg(QLatin1String(id), esc(title));
    out_ += QStringLiteral("</nav></header>\n");
}

QString SheetWriter::sectionOf(const Finding& f) const {
    const QString name = bareNameOfPath(f.file);
    auto is = [&](const QString& path) {
        return !path.isEmpty() && bareNameOfPath(path).compare(name, Qt::CaseInsensitive) == 0;
    };
    if (is(c_.orfPath)) {
        if (!c_.orfLines || f.line < c_.orfLines->machineHeader) return QStringLiteral("findings");
        const OrfLines& at = *c_.orfLines;
        if (f.line < at.ctEntryPct(0) - 3) return QStringLiteral("flags");
        if (f.line < at.payLine(0, 0)) return QStringLiteral("bonus");
        if (f.line < at.soundHeader) return QStringLiteral("lines");
        return QStringLiteral("sounds");
    }
    if (is(c_.reelPath))
        return c_.sdfLines && f.line > c_.sdfLines->prizeCountHeader ? QStringLiteral("prizes")
                                                                     : QStringLiteral("reels");
    if (is(c_.controlPath)) return QStringLiteral("control");
    if (is(c_.positionsPath)) return QStringLiteral("positions");
    if (c_.positions)
        for (const PictureSlot& slot : c_.positions->pictureSlots)
            if (is(slot.fileName)) return QStringLiteral("positions");
    if (c_.spec)
        for (const QString& sound : c_.spec->sound.files)
            if (is(sound)) return QStringLiteral("sounds");
    return QStringLiteral("reels");
}

void SheetWriter::findingsSection() {
    section("findings", tr("Findings"));
    int errors = 0, warnings = 0;
    for (const Finding& f : findings_) ++(f.severity == Severity::Error ? errors : warnings);
    out_ +=
        QStringLiteral("<p>%1</p>\n")
            .arg(esc(findings_.isEmpty() ? tr("The check finds nothing to report.")
                                         : tr("%1, %2").arg(tr("%n error(s)", "", errors),
                                                            tr("%n warning(s)", "", warnings))));
    if (!findings_.isEmpty()) {
        out_ += QStringLiteral("<ul class=\"findings\">\n");
        for (const Finding& f : findings_) {
            const bool error = f.severity == Severity::Error;
            QString where = bareNameOfPath(f.file);
            if (f.line > 0) where += QLatin1Char(':') + num(f.line);
            out_ += QStringLiteral(
                        "<li class=\"%1\"><span class=\"sev\">%2</span> "
                        "<a href=\"#%3\">%4</a> %5</li>\n")
                        .arg(error ? QStringLiteral("error") : QStringLiteral("warning"),
                             esc(error ? tr("error") : tr("warning")), sectionOf(f), esc(where),
                             esc(f.text));
        }
        out_ += QStringLiteral("</ul>\n");
    }
    out_ += QStringLiteral("</section>\n");
}

// ---- reel data ----

void SheetWriter::reelsSection() {
    if (!section("reels", tr("Reel strips"), Source::Reel)) return;
    const ReelDataDocument& doc = *c_.reel;
    out_ += QStringLiteral("<div class=\"row\"><table class=\"strip\"><thead><tr><th>%1</th>")
                .arg(esc(tr("position")));
    for (const QString& caption : ReelCaptions)
        out_ += QStringLiteral("<th>%1</th>").arg(esc(caption));
    out_ += QStringLiteral("</tr></thead><tbody>\n");
    // Position 21 at the top, as the strips are drawn in the editors.
    for (int p = reel::PositionCount - 1; p >= 0; --p) {
        out_ += QStringLiteral("<tr><th>%1</th>").arg(reel::positionLabel(p));
        for (int r = 0; r < reel::ReelCount; ++r) {
            const int symbol = doc.arrangement[reel::cellOf(r, p)];
            out_ += QStringLiteral("<td>%1<span class=\"sn\">%2</span></td>")
                        .arg(symbolPicture(symbol, 0, StripBox), num(symbol + 1));
        }
        out_ += QStringLiteral("</tr>\n");
    }
    out_ += QStringLiteral("</tbody></table>\n<table class=\"symbols\"><thead><tr><th>%1</th>")
                .arg(esc(tr("symbol")));
    for (const QString& state : PictureStates)
        out_ += QStringLiteral("<th>%1</th>").arg(esc(state));
    out_ += QStringLiteral("</tr></thead><tbody>\n");
    for (int s = 0; s < reel::SymbolCount; ++s) {
        out_ += QStringLiteral("<tr><th>%1</th>").arg(s + 1);
        for (int st = 0; st < PictureStateCount; ++st) {
            const QString& name = doc.symbols[s].names[st];
            out_ += QStringLiteral("<td>%1<div class=\"fname\">%2</div></td>")
                        .arg(namedPicture(name, PrizeBox, true), esc(name));
        }
        out_ += QStringLiteral("</tr>\n");
    }
    out_ += QStringLiteral("</tbody></table></div></section>\n");
}

void SheetWriter::prizesSection() {
    if (!section("prizes", tr("Prizes"), Source::Reel)) return;
    const ReelDataDocument& doc = *c_.reel;
    out_ += QStringLiteral("<p>%1</p>\n")
                .arg(esc(tr("Flag f is prize f; flag 0 is no prize. Pays in medals.")));
    out_ += QStringLiteral(
                "<table><thead><tr><th rowspan=\"2\">%1</th><th rowspan=\"2\">%2</th>"
                "<th colspan=\"3\">%3</th><th colspan=\"3\">%4</th></tr><tr>")
                .arg(esc(tr("flag")), esc(tr("combination")), esc(tr("pays")), esc(tr("kinds")));
    for (int half = 0; half < 2; ++half)
        for (int g = 0; g < reel::GameStateCount; ++g)
            out_ +=
                QStringLiteral("<th>%1</th>").arg(esc(reel::gameStateCaption(reel::GameState(g))));
    out_ += QStringLiteral("</tr></thead><tbody>\n");
    const int last = std::clamp<int>(doc.lastPrizeIndex, 0, reel::MaxPrizeIndex);
    for (int e = 0; e <= last; ++e) {
        const reel::PrizeEntry& p = doc.prizes[e];
        QString pictures;
        for (int r = 0; r < reel::ReelCount; ++r)
            pictures += symbolPicture(p.symbols[r], 0, PrizeBox);
        out_ += QStringLiteral("<tr><th>%1</th><td>%2</td>").arg(num(e + 1), pictures);
        for (int g = 0; g < reel::GameStateCount; ++g) {
            const bool bad = p.pays[g] < 0 || p.pays[g] > MaxPay;
            out_ += QStringLiteral("<td class=\"n%1\">%2</td>")
                        .arg(bad ? QStringLiteral(" bad") : QString(), num(p.pays[g]));
        }
        for (int g = 0; g < reel::GameStateCount; ++g) {
            const QString kind = reel::prizeKindText(p.kinds[g]);
            out_ += kind.isEmpty()
                        ? QStringLiteral("<td class=\"bad\">%1</td>").arg(num(p.kinds[g]))
                        : QStringLiteral("<td>%1</td>").arg(esc(kind));
        }
        out_ += QStringLiteral("</tr>\n");
    }
    out_ += QStringLiteral("</tbody></table></section>\n");
}

// ---- machine ----

void SheetWriter::flagsSection() {
    if (!section("flags", tr("Flags and probabilities"), Source::Machine)) return;
    const MachineSpec& s = *c_.spec;
    const int flags = flagCount();
    out_ +=
        QStringLiteral("<p>%1</p>\n")
            .arg(esc(tr(
                "Each value is out of 65536, with its odds below; \"no prize\" is what the flags "
                "leave of 65536.")));
    for (int setting = machine::FirstSetting; setting <= machine::LastSetting; ++setting) {
        // Bets whose probabilities are the same share one table.
        std::vector<std::vector<int>> groups;
        for (int bet = 0; bet < machine::StoredBets; ++bet) {
            bool placed = false;
            for (auto& group : groups) {
                bool same = true;
                for (int f = 0; f < flags && same; ++f)
                    for (int st = 0; st < machine::StoredStates && same; ++st)
                        same = s.flagProb[f][setting][bet][st] ==
                               s.flagProb[f][setting][group.front()][st];
                if (same) {
                    group.push_back(bet);
                    placed = true;
                    break;
                }
            }
            if (!placed) groups.push_back({bet});
        }
        for (const auto& group : groups) {
            QStringList bets;
            for (int bet : group) bets << QStringLiteral("%1BET").arg(bet + 1);
            out_ += QStringLiteral("<h3>%1</h3>\n")
                        .arg(esc(tr("Setting %1, %2 (減算値 %3)")
                                     .arg(setting)
                                     .arg(bets.join(QStringLiteral("・")))
                                     .arg(s.gensan[setting])));
            out_ += QStringLiteral("<table><thead><tr><th>%1</th>").arg(esc(tr("flag")));
            for (const QString& state : ProbStates)
                out_ += QStringLiteral("<th>%1</th>").arg(esc(state));
            out_ += QStringLiteral("</tr></thead><tbody>\n");
            const int bet = group.front();
            std::array<long long, machine::StoredStates> sums{};
            for (int f = 0; f < flags; ++f) {
                out_ += QStringLiteral("<tr><th>%1 %2</th>")
                            .arg(num(f + 1), flagPictures(f + 1, FlagBox));
                for (int st = 0; st < machine::StoredStates; ++st) {
                    const std::int32_t v = s.flagProb[f][setting][bet][st];
                    sums[st] += v;
                    const bool bad = v < 0 || v > MaxProbability;
                    out_ += QStringLiteral("<td class=\"n%1\">%2<div class=\"odds\">%3</div></td>")
                                .arg(bad ? QStringLiteral(" bad") : QString(), num(v), odds(v));
                }
                out_ += QStringLiteral("</tr>\n");
            }
            out_ += QStringLiteral("<tr><th>%1</th>").arg(esc(tr("total")));
            for (long long sum : sums)
                out_ += QStringLiteral("<td class=\"n%1\">%2<div class=\"odds\">%3</div></td>")
                            .arg(sum > MaxProbability ? QStringLiteral(" bad") : QString(),
                                 num(sum), odds(sum));
            out_ += QStringLiteral("</tr>\n<tr><th>%1</th>").arg(esc(tr("no prize")));
            for (long long sum : sums) {
                const long long left = MaxProbability - sum;
                out_ += QStringLiteral("<td class=\"n%1\">%2<div class=\"odds\">%3</div></td>")
                            .arg(left < 0 ? QStringLiteral(" bad") : QString(), num(left),
                                 left < 0 ? QString()
                                          : QLocale::c().toString(100.0 * left / MaxProbability,
                                                                  'f', 1) +
                                                QStringLiteral(" %"));
            }
            out_ += QStringLiteral("</tr>\n</tbody></table>\n");
        }
    }
    out_ += QStringLiteral("</section>\n");
}

void SheetWriter::bonusSection() {
    if (!section("bonus", tr("Bonus rules"), Source::Machine)) return;
    const MachineSpec& s = *c_.spec;
    auto item = [&](const QString& text) {
        out_ += QStringLiteral("<li>%1</li>\n").arg(esc(text));
    };
    auto boxText = [](const QString& text) { return text.isEmpty() ? QStringLiteral("—") : text; };
    out_ += QStringLiteral("<ul>\n");
    item(s.threeBetOnly ? tr("3枚掛け専用機: a game takes three medals.")
                        : tr("Not a 3枚掛け専用機: a game takes one to three medals."));
    item(s.counterReset ? tr("カウンタリセット機.") : tr("Not a カウンタリセット機."));
    out_ += QStringLiteral("</ul>\n<h3>CT</h3>\n<ul>\n");
    item(s.hasCT ? tr("CTあり: the machine has CT.") : tr("No CT (CTあり is not checked)."));
    for (int big = 0; big < machine::StoredBigs; ++big)
        if (s.ctEntryPct[big] != 0)
            item(tr("When the flag of ビッグ%1 is won (のフラグに当選した時), CT is entered with "
                    "%2 % (% で突入).")
                     .arg(big + 1)
                     .arg(s.ctEntryPct[big]));
    item(tr("CT ends after %1 medals of net gain (枚純増) or %2 plays (プレイ終了).")
             .arg(boxText(s.ctEndConText(0)), boxText(s.ctEndConText(1))));
    out_ += QStringLiteral("</ul>\n<h3>%1</h3>\n<ul>\n").arg(esc(tr("Super big (スーパービッグ)")));
    for (int big = 0; big < machine::StoredBigs; ++big) {
        QStringList becomes;
        for (int result = 0; result < machine::StoredBigs; ++result)
            if (s.superBigPct[big][result] != 0)
                becomes << tr("%1 % ビッグ%2").arg(s.superBigPct[big][result]).arg(result + 1);
        item(becomes.isEmpty() ? tr("ビッグ%1 lined up (が揃い): no type is given.").arg(big + 1)
                               : tr("ビッグ%1 lined up (が揃い) becomes %2.")
                                     .arg(big + 1)
                                     .arg(becomes.join(QStringLiteral(", "))));
    }
    out_ +=
        QStringLiteral("</ul>\n<h3>%1</h3>\n<ul>\n").arg(esc(tr("Bonus end (ボーナス終了条件)")));
    item(tr("BB ends after %1 games (G行うか) or %2 regular bonuses (回RB).")
             .arg(boxText(s.bonusEndText(0)), boxText(s.bonusEndText(1))));
    item(tr("RB ends after %1 games (G行うか) or %2 wins (回入賞).")
             .arg(boxText(s.bonusEndText(2)), boxText(s.bonusEndText(3))));
    out_ += QStringLiteral("</ul></section>\n");
}

void SheetWriter::linesSection() {
    if (!section("lines", tr("Pay lines"), Source::Machine)) return;
    const MachineSpec& s = *c_.spec;
    using machine::LineRows;
    for (int bet = 0; bet < machine::StoredBets; ++bet) {
        out_ += QStringLiteral("<h3>%1BET</h3>\n<div>").arg(bet + 1);
        // The rows above and below the window are drawn only when a line of the bet uses them.
        bool outside[LineRows] = {};
        for (int line = 0; line < machine::StoredLines; ++line)
            for (int r = 0; r < reel::ReelCount; ++r)
                for (int row : {0, LineRows - 1})
                    outside[row] = outside[row] || s.lineCell[bet][line][r * LineRows + row] != 0;
        int shown = 0;
        for (int line = 0; line < machine::StoredLines; ++line) {
            const auto& cells = s.lineCell[bet][line];
            int total = 0;
            bool twoOnAReel = false;
            for (int r = 0; r < reel::ReelCount; ++r) {
                int onReel = 0;
                for (int row = 0; row < LineRows; ++row) onReel += cells[r * LineRows + row] != 0;
                total += onReel;
                twoOnAReel = twoOnAReel || onReel > 1;
            }
            if (total == 0) continue;
            ++shown;
            const bool bad = twoOnAReel || total != reel::ReelCount;
            out_ +=
                QStringLiteral("<div class=\"line%1\">%2<table class=\"grid\">")
                    .arg(bad ? QStringLiteral(" bad") : QString(),
                         esc(tr("line %1 (領域番号 %2)").arg(line + 1).arg(s.lineArea[bet][line])));
            for (int row = 0; row < LineRows; ++row) {
                const bool edge = row == 0 || row == LineRows - 1;
                if (edge && !outside[row]) continue;
                out_ += QStringLiteral("<tr%1 title=\"%2\">")
                            .arg(edge ? QStringLiteral(" class=\"outside\"") : QString(),
                                 LineRowNames[row]);
                for (int r = 0; r < reel::ReelCount; ++r)
                    out_ += cells[r * LineRows + row] != 0
                                ? QStringLiteral("<td class=\"on\"></td>")
                                : QStringLiteral("<td></td>");
                out_ += QStringLiteral("</tr>");
            }
            out_ += QStringLiteral("</table>%1</div>")
                        .arg(bad ? QStringLiteral("<span class=\"bad\">%1</span>")
                                       .arg(esc(tr("not one cell on each reel")))
                                 : QString());
        }
        if (shown == 0) out_ += esc(tr("No pay line."));
        out_ += QStringLiteral("</div>\n");
    }
    out_ += QStringLiteral("</section>\n");
}

// ---- reel control ----

void SheetWriter::controlSection() {
    if (!section("control", tr("Reel control"), Source::Control)) return;
    using namespace control;
    const ControlDocument& doc = *c_.control;
    const int lastFlag = doc.lastPrizeIndex() + 1;
    if (c_.controlWrittenFor != doc.lastPrizeIndex())
        out_ += QStringLiteral("<p class=\"bad\">%1</p>\n")
                    .arg(esc(c_.controlWrittenFor
                                 ? tr("The assignments were written for LastPrizeIndex %1, but "
                                      "the reel data has %2: they are shown as stopboard reads "
                                      "them, most of them on other keys than they were made for.")
                                       .arg(*c_.controlWrittenFor)
                                       .arg(doc.lastPrizeIndex())
                                 : tr("The assignment section fits no LastPrizeIndex: it is shown "
                                      "as stopboard reads it.")));
    // Keys of each flag and play state, counted by the base table they are given.
    const int rows = lastFlag + 1;
    std::vector<int> counts(std::size_t(rows) * PlayStateCount * (BaseTableCount + 1), 0);
    std::vector<int> keysOfBase(BaseTableCount + 1, 0);
    int outOfRange = 0;
    auto at = [&](int flag, int state, int base) -> int& {
        return counts[(std::size_t(flag) * PlayStateCount + state) * (BaseTableCount + 1) + base];
    };
    forEachFileKey(doc.lastPrizeIndex(), [&](const AssignmentKey& k) {
        const int b = doc.assignment(k);
        if (b < 1 || b > BaseTableCount) {
            ++outOfRange;
            return;
        }
        ++at(k.flag, k.playState, b);
        ++keysOfBase[b];
    });
    out_ += QStringLiteral("<h3>%1</h3>\n<p>%2</p>\n")
                .arg(esc(tr("Base tables by flag and play state")),
                     esc(tr("Each cell names the base tables the assignments use, with how many "
                            "keys (bonus flag state, bet, stop order, big type, first stop) "
                            "each.")));
    out_ += QStringLiteral("<table><thead><tr><th>%1</th>").arg(esc(tr("flag")));
    for (const QString& state : PlayStates) out_ += QStringLiteral("<th>%1</th>").arg(esc(state));
    out_ += QStringLiteral("</tr></thead><tbody>\n");
    for (int flag = 0; flag <= lastFlag; ++flag) {
        out_ += QStringLiteral("<tr><th>%1 %2</th>")
                    .arg(flag == 0 ? QStringLiteral("0 ") + esc(tr("(no prize)")) : num(flag),
                         flag == 0 ? QString() : flagPictures(flag, FlagBox));
        for (int state = 0; state < PlayStateCount; ++state) {
            std::vector<std::pair<int, int>> used;  // count, base table
            for (int b = 1; b <= BaseTableCount; ++b)
                if (const int n = at(flag, state, b)) used.emplace_back(n, b);
            std::stable_sort(used.begin(), used.end(),
                             [](const auto& x, const auto& y) { return x.first > y.first; });
            QStringList parts;
            for (std::size_t i = 0; i < used.size() && i < std::size_t(BaseTablesPerCell); ++i)
                parts << QStringLiteral("<span class=\"nw\"><a href=\"#b%1\">%1</a>×%2</span>")
                             .arg(used[i].second)
                             .arg(used[i].first);
            if (used.size() > std::size_t(BaseTablesPerCell)) {
                int rest = 0;
                for (std::size_t i = BaseTablesPerCell; i < used.size(); ++i) rest += used[i].first;
                parts << esc(
                    tr("%1 more (%2 keys)").arg(used.size() - BaseTablesPerCell).arg(rest));
            }
            out_ += QStringLiteral("<td>%1</td>").arg(parts.join(QStringLiteral(" ")));
        }
        out_ += QStringLiteral("</tr>\n");
    }
    out_ += QStringLiteral("</tbody></table>\n");
    if (outOfRange > 0)
        out_ += QStringLiteral("<p class=\"bad\">%1</p>\n")
                    .arg(esc(tr("%1 assignments name no base table 1 to 512.").arg(outOfRange)));

    // The base tables used, and the stop tables they choose from.
    std::vector<bool> stopUsed(StopTableCount + 1, false);
    out_ += QStringLiteral(
                "<h3>%1</h3>\n<table><thead><tr><th>%2</th><th>%3</th><th>%4</th>"
                "</tr></thead><tbody>\n")
                .arg(esc(tr("Base tables")), esc(tr("base table")), esc(tr("keys")),
                     esc(tr("stop tables (probability out of 256)")));
    for (int b = 1; b <= BaseTableCount; ++b) {
        if (keysOfBase[b] == 0) continue;
        QStringList choices;
        int sum = 0;
        for (int slot = 0; slot < SlotsPerBaseTable; ++slot) {
            const BaseSlot& s = doc.baseSlot(b, slot);
            sum += s.probability;
            if (s.probability == 0) continue;
            const bool known = s.table >= 1 && s.table <= StopTableCount;
            if (known) stopUsed[s.table] = true;
            choices << (known ? QStringLiteral("<a href=\"#s%1\">%1</a>: %2")
                                    .arg(s.table)
                                    .arg(s.probability)
                              : QStringLiteral("<span class=\"bad\">%1: %2</span>")
                                    .arg(s.table)
                                    .arg(s.probability));
        }
        out_ += QStringLiteral(
                    "<tr id=\"b%1\"><th>%1</th><td class=\"n\">%2</td><td%3>%4%5</td></tr>\n")
                    .arg(b)
                    .arg(keysOfBase[b])
                    .arg(sum != BaseTableShare ? QStringLiteral(" class=\"bad\"") : QString(),
                         choices.join(QStringLiteral(", ")),
                         sum != BaseTableShare
                             ? QStringLiteral(" — ") + esc(tr("adds up to %1, not 256").arg(sum))
                             : QString());
    }
    out_ += QStringLiteral("</tbody></table>\n");

    out_ += QStringLiteral("<h3>%1</h3>\n<p>%2</p>\n<div class=\"stops\">\n")
                .arg(esc(tr("Stop tables")),
                     esc(tr("The slide (0 to 4) of the left, centre and right reel for each "
                            "position the button is pressed at, position 21 at the top.")));
    for (int t = 1; t <= StopTableCount; ++t) {
        if (!stopUsed[t]) continue;
        const auto stops = doc.stopTable(t);
        out_ += QStringLiteral(
                    "<div class=\"stop\" id=\"s%1\"><div class=\"title\" title=\"%2\">"
                    "<b>%1</b> %2</div><table>")
                    .arg(t)
                    .arg(esc(doc.comment(t)));
        for (int p = reel::PositionCount - 1; p >= 0; --p) {
            out_ += QStringLiteral("<tr><th>%1</th>").arg(p + 1);
            for (int r = 0; r < reel::ReelCount; ++r) {
                const int v = stops[reel::cellOf(r, p)];
                out_ += v >= 0 && v <= 4 ? QStringLiteral("<td class=\"v%1\">%1</td>").arg(v)
                                         : QStringLiteral("<td class=\"bad\">%1</td>").arg(v);
            }
            out_ += QStringLiteral("</tr>");
        }
        out_ += QStringLiteral("</table></div>\n");
    }
    out_ += QStringLiteral("</div></section>\n");
}

// ---- sounds ----

void SheetWriter::soundsSection() {
    if (!section("sounds", tr("Sounds"), Source::Machine)) return;
    using namespace sound;
    const SoundTables& t = c_.spec->sound;
    // What each sound number plays on, in the order of the sound pages.
    std::vector<QStringList> uses(SoundFileSlots);
    std::vector<int> outside;  // numbers no registry entry can hold
    auto use = [&](long long number, const QString& occasion) {
        if (number == 0) return;
        if (number < 0 || number > LastSoundNumber) {
            outside.push_back(int(std::clamp<long long>(number, INT_MIN, INT_MAX)));
            return;
        }
        uses[std::size_t(number)] << occasion;
    };
    auto candidate = [&](const QString& where, int c, long long probability, long long number,
                         bool afterFirstTwo = false) {
        use(number, tr("%1, candidate %2 (%3/65536%4)")
                        .arg(where)
                        .arg(c + 1)
                        .arg(probability)
                        .arg(afterFirstTwo ? tr(", after a sound at the first or second stop")
                                           : QString()));
    };
    for (int g = 0; g < GroupCount; ++g)
        use(t.normalSound[g], SoundGroups[g] + QStringLiteral(" 通常"));
    for (int g = 0; g < BonusGroupSlots; ++g)
        for (int st = 0; st < StoredBonusStates; ++st)
            for (int c = 0; c < StoredCandidates; ++c)
                candidate(SoundGroups[g] + QLatin1Char(' ') + BonusSoundStates[st], c,
                          t.bonusCandidates[g][st][c].probability,
                          t.bonusCandidates[g][st][c].sound);
    for (int big = 1; big <= LastBigFirstPlay; ++big)
        use(t.bigFirstPlaySound[big],
            QStringLiteral("%1 ビッグ%2の1プレイ目").arg(SoundGroups[MedalInsert]).arg(big));
    for (int f = 0; f < FlagSlots; ++f)
        for (int c = 0; c < StoredCandidates; ++c)
            candidate(QStringLiteral("%1 フラグ %2 成立時").arg(SoundGroups[ReelSpin]).arg(f), c,
                      t.flagCandidates[f][c].probability, t.flagCandidates[f][c].sound);
    for (int r = 0; r < StoredReels; ++r) {
        for (int st = 0; st < StoredBonusStates; ++st)
            for (int c = 0; c < StoredCandidates; ++c)
                candidate(QStringLiteral("%1 第%2リール停止時 %3")
                              .arg(SoundGroups[ReelStop])
                              .arg(r + 1)
                              .arg(BonusSoundStates[st]),
                          c, t.stopBonusCandidates[r][st][c].probability,
                          t.stopBonusCandidates[r][st][c].sound,
                          t.stopBonusAfterFirstTwo[r][st][c] != 0);
        for (int f = 0; f < StoredStopFlags; ++f)
            for (int c = 0; c < StoredCandidates; ++c) {
                const StopFlagCandidate& k = t.stopFlagCandidates[r][f][c];
                candidate(QStringLiteral("%1 第%2リール停止時 フラグ %3 成立時")
                              .arg(SoundGroups[ReelStop])
                              .arg(r + 1)
                              .arg(f),
                          c, k.probability, k.sound, k.afterFirstTwo != 0);
            }
    }
    for (int f = 0; f < flagCount(); ++f)
        for (int st = 0; st < StoredPayStates; ++st)
            for (int timing = 0; timing < StoredPayTimings; ++timing)
                use(t.paySound[f][st][timing], tr("payout sound of flag %1, %2 %3")
                                                   .arg(f + 1)
                                                   .arg(PayStates[st], PayTimings[timing]));
    for (int i = 0; i < StoredBgm; ++i) use(t.bgmSound[i], QStringLiteral("BGM ") + BgmNames[i]);

    out_ += QStringLiteral(
                "<table><thead><tr><th>%1</th><th>%2</th><th>%3</th></tr></thead>"
                "<tbody>\n")
                .arg(esc(tr("No.")), esc(tr("file")), esc(tr("plays on")));
    int rows = 0;
    for (int n = 1; n <= LastSoundNumber; ++n) {
        const QString& name = t.files[n];
        if (name.isEmpty() && uses[n].isEmpty()) continue;
        ++rows;
        QString state;
        if (name.isEmpty()) {
            state = tr("not registered");
        } else {
            const auto it = c_.sounds.constFind(name);
            if (it == c_.sounds.constEnd() || *it == FileState::Missing)
                state = tr("missing");
            else if (*it == FileState::Refused)
                state = tr("cannot be played");
        }
        QStringList shown = uses[n].mid(0, OccasionsPerSound);
        for (QString& s : shown) s = esc(s);
        if (uses[n].size() > OccasionsPerSound)
            shown << esc(tr("%1 more").arg(uses[n].size() - OccasionsPerSound));
        out_ +=
            QStringLiteral("<tr><th>%1</th><td%2>%3%4</td><td>%5</td></tr>\n")
                .arg(num(n), state.isEmpty() ? QString() : QStringLiteral(" class=\"bad\""),
                     esc(name),
                     state.isEmpty() ? QString() : QStringLiteral(" <b>%1</b>").arg(esc(state)),
                     shown.isEmpty() ? esc(tr("(not used)")) : shown.join(QStringLiteral("<br>")));
    }
    out_ += QStringLiteral("</tbody></table>\n");
    if (rows == 0) out_ += QStringLiteral("<p>%1</p>\n").arg(esc(tr("No sound is registered.")));
    if (!outside.empty())
        out_ += QStringLiteral("<p class=\"bad\">%1</p>\n")
                    .arg(esc(tr("%n setting(s) name a sound number outside 0 to 128.", "",
                                int(outside.size()))));
    out_ += QStringLiteral("</section>\n");
}

// ---- picture positions ----

void SheetWriter::positionsSection() {
    if (!section("positions", tr("Picture positions"), Source::Positions)) return;
    const PositionDocument& doc = *c_.positions;
    auto placed = [&](int e) {
        const PlacementEntry& p = doc.entries[e];
        return p.left || p.top || p.right || p.bottom;
    };
    // Rectangles are places on the cabinet: slot 0's picture shows them all, another
    // cabinet picture those that take their lit look from it.
    auto onSlot = [&](int slot, int e) {
        if (!placed(e)) return false;
        if (slot == 0) return true;
        return pos::valueKind(e) == pos::ValueKind::LitPicture &&
               doc.entries[e].value == QString::number(slot);
    };
    out_ += QStringLiteral("<div class=\"row\">\n");
    for (int slot = 0; slot < pos::SlotCount; ++slot) {
        const QString& name = doc.pictureSlots[slot].fileName;
        if (name.isEmpty()) continue;
        out_ += QStringLiteral("<figure><figcaption>%1: %2</figcaption>")
                    .arg(esc(pos::slotListText(slot)), esc(name));
        const auto it = c_.pictures.constFind(name);
        const bool shown =
            it != c_.pictures.constEnd() && it->state == FileState::Found && !it->image.isNull();
        QSize size = shown ? it->image.size() : QSize(320, 240);
        if (!shown)
            for (int e = 0; e < pos::EntryCount; ++e)
                if (onSlot(slot, e))
                    size =
                        size.expandedTo(QSize(doc.entries[e].right + 1, doc.entries[e].bottom + 1));
        size = size.boundedTo(QSize(32767, 32767)).expandedTo(QSize(1, 1));
        const int width = std::min(CabinetShownWidth, size.width() * 2);
        const int height = int(std::lround(double(width) * size.height() / size.width()));
        out_ += QStringLiteral(
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                    "viewBox=\"0 0 %3 %4\">")
                    .arg(width)
                    .arg(std::max(height, 1))
                    .arg(size.width())
                    .arg(size.height());
        const double unit = double(size.width()) / width;  // picture pixels per shown pixel
        if (shown) {
            out_ += QStringLiteral(
                        "<image href=\"%1\" width=\"%2\" height=\"%3\" "
                        "preserveAspectRatio=\"none\"/>")
                        .arg(pictures_.cabinet(name, it->image, CabinetBox))
                        .arg(size.width())
                        .arg(size.height());
        } else {
            out_ += QStringLiteral(
                        "<rect width=\"%1\" height=\"%2\" fill=\"#fff4f4\" stroke=\"#c00\" "
                        "stroke-width=\"%3\" stroke-dasharray=\"%4\"/>"
                        "<text x=\"%5\" y=\"%6\" fill=\"#c00\" font-size=\"%7\">%8</text>")
                        .arg(size.width())
                        .arg(size.height())
                        .arg(3 * unit)
                        .arg(8 * unit)
                        .arg(6 * unit)
                        .arg(16 * unit)
                        .arg(11 * unit)
                        .arg(esc(it == c_.pictures.constEnd() || it->state == FileState::Missing
                                     ? tr("missing: %1").arg(name)
                                     : tr("refused: %1").arg(name)));
        }
        for (int e = 0; e < pos::EntryCount; ++e) {
            if (!onSlot(slot, e)) continue;
            const PlacementEntry& p = doc.entries[e];
            const char* colour = pos::valueKind(e) == pos::ValueKind::Correction       ? "#06c"
                                 : pos::valueKind(e) == pos::ValueKind::NumeralPicture ? "#080"
                                                                                       : "#d00";
            out_ += QStringLiteral(
                        "<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"none\" "
                        "stroke=\"%5\" stroke-width=\"%6\"/>"
                        "<text x=\"%7\" y=\"%8\" fill=\"%5\" font-size=\"%9\" "
                        "stroke=\"#fff\" stroke-width=\"%10\" paint-order=\"stroke\">"
                        "%11</text>")
                        .arg(p.left)
                        .arg(p.top)
                        .arg(std::max(p.width(), 1))
                        .arg(std::max(p.height(), 1))
                        .arg(QLatin1String(colour))
                        .arg(unit)
                        .arg(p.left + unit)
                        .arg(p.top + 9 * unit)
                        .arg(9 * unit)
                        .arg(2 * unit)
                        .arg(e);
        }
        out_ += QStringLiteral("</svg></figure>\n");
    }
    out_ += QStringLiteral(
                "</div>\n<table><thead><tr><th>No.</th><th>%1</th><th>%2</th>"
                "<th>%3</th></tr></thead><tbody>\n")
                .arg(esc(tr("element")), esc(tr("rectangle")), esc(tr("value")));
    for (int e = 0; e < pos::EntryCount; ++e) {
        const PlacementEntry& p = doc.entries[e];
        out_ += QStringLiteral("<tr><th>%1</th><td>%2</td><td>%3</td><td>%4: %5</td></tr>\n")
                    .arg(e)
                    .arg(esc(pos::entryCaption(e).trimmed()),
                         placed(e) ? esc(rectangleText(p)) : QStringLiteral("—"),
                         esc(pos::valueLabel(e)), esc(p.value));
    }
    out_ += QStringLiteral("</tbody></table></section>\n");
}

}  // namespace

QByteArray machineSheet(const MachineContents& contents, const QList<Finding>& findings) {
    return SheetWriter(contents, findings).page().toUtf8();
}

QString sheetFileName(const QString& machineName, const QString& orfName) {
    QString name;
    for (const QChar c : machineName)
        name += c.unicode() < 0x20 || c.unicode() == 0x7f || QStringView(u"/\\:*?\"<>|").contains(c)
                    ? QChar(u'_')
                    : c;
    // No hidden file, and no blank a file dialog would not show.
    while (name.startsWith(u'.') || name.startsWith(u' ')) name.remove(0, 1);
    if (name.size() > 80) name.truncate(name.at(79).isHighSurrogate() ? 79 : 80);
    while (name.endsWith(u'.') || name.endsWith(u' ')) name.chop(1);
    if (name.isEmpty()) name = QFileInfo(orfName).completeBaseName();
    if (name.isEmpty()) name = QStringLiteral("machine");
    return name + QStringLiteral(".html");
}

namespace {

struct SheetText {
    Q_DECLARE_TR_FUNCTIONS(Sheet)
};

// The machine folder and .orf a sheet target names; false and *error when it names none.
bool machineOf(const QString& target, QString& folder, QString& orf, QString* error) {
    const QFileInfo info(target);
    if (!info.isDir() && info.suffix().compare(QLatin1String("orf"), Qt::CaseInsensitive) == 0) {
        if (!info.exists()) {
            if (error) *error = SheetText::tr("there is no machine file %1").arg(target);
            return false;
        }
        folder = info.path();
        orf = info.fileName();
        return true;
    }
    MachineFolder dir;
    if (!dir.open(target, error)) return false;
    const QStringList orfs = dir.namesEndingIn({QStringLiteral(".orf")});
    if (orfs.size() == 1) {
        folder = target;
        orf = orfs.first();
        return true;
    }
    if (error)
        *error = orfs.isEmpty() ? SheetText::tr(
                                      "%1 holds no machine file (.orf): the sheet shows the "
                                      "machine an .orf file makes")
                                      .arg(target)
                                : SheetText::tr(
                                      "%1 holds %2 machine files (%3): name one, as in "
                                      "machinecheck sheet %4")
                                      .arg(target)
                                      .arg(orfs.size())
                                      .arg(orfs.join(QStringLiteral(", ")),
                                           QDir(target).filePath(orfs.first()));
    return false;
}

// Whether the file at `path` is a sheet an earlier run wrote.
bool isSheet(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(200).contains(Generator);
}

// Every file the machine was read from, so that the sheet is never written over one.
QStringList inputsOf(const MachineContents& c, const QString& folder) {
    QStringList paths{c.orfPath, c.reelPath, c.controlPath, c.positionsPath};
    for (auto it = c.pictures.constBegin(); it != c.pictures.constEnd(); ++it)
        if (const QString p = findFileInFolder(folder, it.key()); !p.isEmpty()) paths << p;
    for (auto it = c.sounds.constBegin(); it != c.sounds.constEnd(); ++it)
        if (const QString p = findFileInFolder(folder, it.key()); !p.isEmpty()) paths << p;
    return paths;
}

}  // namespace

int sheetCommand(const QString& target, const QString& out, bool force, QString& err) {
    QString folder, orf, why;
    if (!machineOf(target, folder, orf, &why)) {
        err += QStringLiteral("machinecheck: %1\n").arg(why);
        return 2;
    }
    Findings findings;
    MachineContents contents;
    if (!checkMachine(folder, orf, findings, contents, &why)) {
        err += QStringLiteral("machinecheck: %1\n").arg(why);
        return 2;
    }
    const QString path = !out.isEmpty()
                             ? out
                             : QDir(folder).filePath(sheetFileName(
                                   contents.spec ? contents.spec->machineName : QString(), orf));
    if (path != QLatin1String("-")) {
        const auto output = machinefiles::regularFileIdentity(path, -1);
        for (const QString& input : inputsOf(contents, folder))
            if (output && output == machinefiles::regularFileIdentity(input, -1)) {
                err += SheetText::tr(
                           "%1: error: the machine is read from this file; nothing "
                           "written\n")
                           .arg(path);
                return 1;
            }
        if (QFileInfo(path).isDir()) {
            err += SheetText::tr("%1: error: is a folder; nothing written\n").arg(path);
            return 1;
        }
        if (QFileInfo::exists(path) && !force && !isSheet(path)) {
            err += SheetText::tr(
                       "%1: error: already exists and is no machine sheet; give "
                       "--force to replace it\n")
                       .arg(path);
            return 1;
        }
    }
    const QList<Finding> list = findings.sorted();
    if (!machinefiles::writeOutput(path, machineSheet(contents, list), &why)) {
        err += SheetText::tr("%1: error: cannot write: %2\n").arg(path, why);
        return 1;
    }
    const int errors = findings.count(Severity::Error);
    const int warnings = findings.count(Severity::Warning);
    if (path != QLatin1String("-"))
        err += SheetText::tr("machinecheck: wrote %1 (%2, %3)\n")
                   .arg(path, SheetText::tr("%n error(s)", "", errors),
                        SheetText::tr("%n warning(s)", "", warnings));
    return 0;
}

}  // namespace check
