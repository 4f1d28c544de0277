#include "rcfformat.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "archive.h"
#include "savefile.h"
#include "textfile.h"

using namespace control;

namespace rcf {

namespace {

// The simulator reads the same text, so the control file is never made larger than this.
constexpr qint64 MaxFileSize = 64LL * 1024 * 1024;

// Calls f(first entry, entry count) for each key group in the order of the file.
template <typename F>
void forEachFileRun(int lastPrizeIndex, F&& f) {
    const std::size_t count = std::size_t(lastPrizeIndex + 2) * EntriesPerFlag;
    forEachFileGroup([&](const AssignmentKey& key) { f(key.index(), count); });
}

std::optional<int> lastPrizeIndexForLines(qsizetype lines) {
    if (lines <= 0 || lines % LinesPerFlag != 0) return std::nullopt;
    const qsizetype flags = lines / LinesPerFlag;
    if (flags < 2) return std::nullopt;  // flag 0 and at least one prize
    return int(flags - 2);
}

// The archive members that may hold the text: "dummy.dat", or the same name in another
// case or under a folder, as archivers on Windows may have stored it; the exact name first.
QStringList textMembers(const QStringList& names) {
    const QString wanted = QString::fromLatin1(MemberName);
    QStringList found;
    for (const QString& name : names) {
        const qsizetype slash = std::max(name.lastIndexOf(u'\\'), name.lastIndexOf(u'/'));
        if (name.mid(slash + 1).compare(wanted, Qt::CaseInsensitive) != 0) continue;
        if (name == wanted)
            found.prepend(name);
        else
            found.append(name);
    }
    return found;
}

// " 12 " and CR LF, "-3 " for a negative value: sign position, digits, one blank.
constexpr qsizetype MaxAssignmentLine = 9;  // "-32768 " CR LF
char* putAssignmentLine(char* out, std::int16_t value) {
    int v = value;
    *out++ = v < 0 ? '-' : ' ';
    if (v < 0) v = -v;
    char digits[5];
    int n = 0;
    do {
        digits[n++] = char('0' + v % 10);
        v /= 10;
    } while (v);
    while (n) *out++ = digits[--n];
    std::memcpy(out, " \r\n", 3);
    return out + 3;
}

// Line ends from b to the end of the text e, as the field reader counts them: LF, CR LF
// and a lone CR each end a line, and so does the end of a last line without one.
qsizetype linesToEnd(const char* b, const char* e) {
    qsizetype lines = 0;
    for (const char* p = b; p < e; ++p)
        if (*p == '\n' || (*p == '\r' && (p + 1 >= e || p[1] != '\n'))) ++lines;
    if (e > b && e[-1] != '\n' && e[-1] != '\r') ++lines;
    return lines;
}

// One assignment line as the writer makes it (blanks, an optional minus, up to five
// digits, blanks, CR LF) read at p; the end of the line, or nullptr for anything else,
// which the field reader then takes as it would.
const char* readAssignmentLine(const char* p, const char* e, std::int16_t& value) {
    while (p < e && *p == ' ') ++p;
    const bool negative = p < e && *p == '-';
    if (negative) ++p;
    int v = 0, digits = 0;
    for (; p < e && *p >= '0' && *p <= '9' && digits < 6; ++p, ++digits) v = v * 10 + (*p - '0');
    if (digits == 0 || digits > 5 || v > (negative ? 32768 : 32767)) return nullptr;
    while (p < e && *p == ' ') ++p;
    if (e - p < 2 || p[0] != '\r' || p[1] != '\n') return nullptr;
    value = std::int16_t(negative ? -v : v);
    return p + 2;
}

}  // namespace

QString storableComment(const QString& comment) {
    QString out = comment;
    for (QChar& c : out) {
        if (c == u',')
            c = QChar(0xFF0C);  // full-width comma
        else if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    // The reader skips blanks before a field: they would not come back.
    qsizetype first = 0;
    while (first < out.size() && out[first] == u' ') ++first;
    out.remove(0, first);
    if (out.startsWith(u'"')) out[0] = QChar(0xFF02);  // full-width quote
    return out;
}

QByteArray writeText(const ControlDocument& doc) {
    const int last = doc.lastPrizeIndex();
    TextWriter w;
    // " 1 " and CR LF per assignment line, short lines for the tables before them.
    w.reserve(assignmentLineCount(last) * 5 + StopTableCount * 22 * 8 +
              BaseTableCount * SlotsPerBaseTable * 10 + 64 * 1024);

    for (int t = 1; t <= StopTableCount; ++t) {
        w.rawLine(storableComment(doc.comment(t)));
        const auto stops = doc.stopTable(t);
        for (int p = 0; p < reel::PositionCount; ++p)
            w.commaNumbers(
                {stops[reel::cellOf(0, p)], stops[reel::cellOf(1, p)], stops[reel::cellOf(2, p)]});
    }
    for (int b = 1; b <= BaseTableCount; ++b)
        for (int s = 0; s < SlotsPerBaseTable; ++s) {
            const BaseSlot& slot = doc.baseSlot(b, s);
            w.spacedLine({slot.probability, slot.table});
        }
    // The assignment lines are most of the file: written here straight into the bytes.
    QByteArray bytes = w.take();
    qsizetype at = bytes.size();
    bytes.resize(at + assignmentLineCount(last) * MaxAssignmentLine);
    char* out = bytes.data() + at;
    const auto assignments = doc.assignments();
    forEachFileRun(last, [&](std::size_t first, std::size_t count) {
        for (std::size_t i = first; i < first + count; ++i)
            out = putAssignmentLine(out, assignments[i]);
    });
    bytes.truncate(out - bytes.constData());
    return bytes;
}

bool readText(const QByteArray& text, ControlDocument& doc, ReadReport* report, QString* error) {
    FieldReader r(text);

    // Stop and base tables are read aside first: a file that breaks off in them must not
    // leave the document half loaded.
    std::vector<QString> comments(StopTableCount);
    std::vector<std::int16_t> stops(std::size_t(StopTableCount) * reel::CellCount);
    std::vector<BaseSlot> base(std::size_t(BaseTableCount) * SlotsPerBaseTable);

    for (int t = 0; t < StopTableCount; ++t) {
        std::int16_t* table = &stops[std::size_t(t) * reel::CellCount];
        bool ok = r.readText(comments[t]);
        for (int p = 0; ok && p < reel::PositionCount; ++p)
            for (int reelIndex = 0; ok && reelIndex < reel::ReelCount; ++reelIndex)
                ok = r.readInt16(table[reel::cellOf(reelIndex, p)]);
        if (!ok) {
            if (error)
                *error = QStringLiteral("停止テーブル %1 を読めません。%2")
                             .arg(t + 1)
                             .arg(r.errorString());
            return false;
        }
    }
    for (int b = 0; b < BaseTableCount; ++b) {
        for (int s = 0; s < SlotsPerBaseTable; ++s) {
            BaseSlot& slot = base[std::size_t(b) * SlotsPerBaseTable + s];
            if (!r.readInt16(slot.probability) || !r.readInt16(slot.table)) {
                if (error)
                    *error = QStringLiteral("基本テーブル %1 のテーブル%2 を読めません。%3")
                                 .arg(b + 1)
                                 .arg(s + 1)
                                 .arg(r.errorString());
                return false;
            }
        }
    }

    for (int t = 0; t < StopTableCount; ++t) {
        doc.setComment(t + 1, comments[t]);
        std::copy_n(&stops[std::size_t(t) * reel::CellCount], reel::CellCount,
                    doc.stopTable(t + 1).begin());
    }
    for (int b = 0; b < BaseTableCount; ++b)
        for (int s = 0; s < SlotsPerBaseTable; ++s)
            doc.baseSlot(b + 1, s) = base[std::size_t(b) * SlotsPerBaseTable + s];

    // Assignments: an unreadable value keeps the entry's value and the next one is read.
    // Once the text has ended every further entry keeps its value, so stop there. Lines
    // as the writer makes them are read here; from the first other line on, the field
    // reader reads the rest.
    const char* const end = text.constData() + text.size();
    const char* p = text.constData() + r.position();
    qsizetype linesRead = 0;
    std::optional<FieldReader> rest;
    const auto assignments = doc.assignments();
    forEachFileRun(doc.lastPrizeIndex(), [&](std::size_t first, std::size_t count) {
        std::size_t i = first;
        for (; !rest && i < first + count && p < end; ++i) {
            const char* next = readAssignmentLine(p, end, assignments[i]);
            if (!next) {
                rest.emplace(text.mid(p - text.constData()));
                break;
            }
            p = next;
            ++linesRead;
        }
        for (; rest && i < first + count && !rest->atEnd(); ++i) rest->readInt16(assignments[i]);
    });
    if (report) {
        report->assignmentLines = linesRead + linesToEnd(p, end);
        report->writtenLastPrizeIndex = lastPrizeIndexForLines(report->assignmentLines);
    }
    return true;
}

QByteArray packArchive(const ControlDocument& doc, QString* error) {
    QString why;
    QByteArray archive =
        lzh::writeArchive({lzh::Member{QString::fromLatin1(MemberName), writeText(doc)}}, &why);
    if (archive.isEmpty() && error)
        *error = QStringLiteral("制御ファイルの書庫を作れませんでした。%1").arg(why);
    return archive;
}

bool unpackText(const QByteArray& bytes, QByteArray& text, QString* error) {
    lzh::Archive archive;
    if (!archive.openBytes(bytes)) {
        if (error)
            *error = QStringLiteral("LZH 書庫として読めません。%1").arg(archive.errorString());
        return false;
    }
    const QStringList members = textMembers(archive.memberNames());
    if (members.isEmpty()) {
        if (error)
            *error = QStringLiteral("書庫に %1 がありません。").arg(QLatin1String(MemberName));
        return false;
    }
    // Which one the simulator would take is not known: none is taken.
    if (members.size() > 1) {
        if (error)
            *error =
                QStringLiteral("書庫に %1 が %2 個あります。制御ファイルには 1 個だけ入れます。")
                    .arg(QLatin1String(MemberName))
                    .arg(members.size());
        return false;
    }
    const QString& member = members.front();
    std::optional<QByteArray> data = archive.read(member);
    if (!data) {
        if (error)
            *error = QStringLiteral("書庫の %1 を取り出せません（書庫が壊れています）。%2")
                         .arg(member, archive.errorString());
        return false;
    }
    text = std::move(*data);
    return true;
}

bool unpackArchive(const QByteArray& bytes, ControlDocument& doc, ReadReport* report,
                   QString* error) {
    QByteArray text;
    return unpackText(bytes, text, error) && readText(text, doc, report, error);
}

bool writeFile(const QString& path, const ControlDocument& doc, QString* error) {
    const QByteArray archive = packArchive(doc, error);
    if (archive.isEmpty()) return false;
    return saveFileAtomically(path, archive, error);
}

bool readFile(const QString& path, ControlDocument& doc, ReadReport* report, QString* error) {
    QByteArray bytes;
    if (!readWholeFile(path, bytes, error, MaxFileSize)) return false;
    return unpackArchive(bytes, doc, report, error);
}

}  // namespace rcf
