#include "ppfformat.h"

#include <QFileInfo>

#include "filelookup.h"
#include "pictures.h"
#include "savefile.h"
#include "sjis.h"
#include "textfile.h"

namespace ppf {

namespace {

// 43 short lines; anything far larger is not a position file.
constexpr qint64 MaxFileSize = 4LL * 1024 * 1024;

bool hasLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

}  // namespace

QString nameProblem(const QString& fileName) {
    if (fileName.contains(QLatin1Char(',')))
        return QStringLiteral("カンマ (,) を含む名前は位置ファイルに保存できません。");
    if (fileName.startsWith(QLatin1Char(' ')))
        return QStringLiteral("空白で始まる名前は位置ファイルに保存できません。");
    if (fileName.startsWith(QLatin1Char('"')))
        return QStringLiteral("二重引用符 (\") で始まる名前は位置ファイルに保存できません。");
    if (hasLineBreak(fileName))
        return QStringLiteral("改行を含む名前は位置ファイルに保存できません。");
    if (!sjis::isRepresentable(fileName))
        return QStringLiteral("Shift-JIS で表せない文字を含む名前は位置ファイルに保存できません。");
    return {};
}

QString valueProblem(const QString& value) {
    if (value.contains(QLatin1Char('"')))
        return QStringLiteral("二重引用符 (\") を含む値は位置ファイルに保存できません。");
    if (hasLineBreak(value)) return QStringLiteral("改行を含む値は位置ファイルに保存できません。");
    if (!sjis::isRepresentable(value))
        return QStringLiteral("Shift-JIS で表せない文字を含む値は位置ファイルに保存できません。");
    return {};
}

QString storeProblem(const PositionDocument& doc) {
    for (int s = 0; s < pos::SlotCount; ++s) {
        const QString& name = doc.pictureSlots[s].fileName;
        if (const QString why = nameProblem(name); !why.isEmpty())
            return QStringLiteral("%1 のファイル名「%2」: %3")
                .arg(pos::slotListText(s), sjis::forDisplay(name, sjis::ShownNameChars), why);
    }
    for (int e = 0; e < pos::EntryCount; ++e) {
        const QString& value = doc.entries[e].value;
        if (const QString why = valueProblem(value); !why.isEmpty())
            return QStringLiteral("「%1」の%2「%3」: %4")
                .arg(pos::entryCaption(e).trimmed(), pos::valueLabel(e), sjis::forDisplay(value),
                     why);
    }
    return {};
}

QByteArray write(const PositionDocument& doc) {
    TextWriter w;
    w.reserve(2048);
    for (const PictureSlot& slot : doc.pictureSlots) w.rawLine(slot.fileName);
    w.spacedLine({pos::LastEntry});
    for (const PlacementEntry& e : doc.entries)
        w.commaLine({e.left, e.top, e.right, e.bottom, e.value});
    return w.take();
}

bool readText(const QByteArray& bytes, PositionDocument& doc, ReadReport* report, QString* error) {
    FieldReader r(bytes);

    // The names and the count line are read aside first, so a file refused here
    // leaves every slot as it was.
    std::array<QString, pos::SlotCount> names;
    for (QString& name : names) {
        if (!r.readText(name)) {
            if (error)
                *error = QStringLiteral("画像ファイル名の 9 行と項目数の行がありません。%1")
                             .arg(r.errorString());
            return false;
        }
    }
    std::int32_t count = 0;
    if (!r.readInt32(count)) {
        if (error) *error = QStringLiteral("項目数の行が読めません。%1").arg(r.errorString());
        return false;
    }
    if (report) report->countLine = count;
    for (int s = 0; s < pos::SlotCount; ++s) doc.pictureSlots[s].fileName = names[s];

    // Always 33 entries, whatever the count line says. A field that cannot be read keeps
    // the entry's earlier value; the failed field is consumed, so later fields may shift.
    for (int e = 0; e < pos::EntryCount; ++e) {
        PlacementEntry& entry = doc.entries[e];
        r.readInt16(entry.left);
        r.readInt16(entry.top);
        r.readInt16(entry.right);
        r.readInt16(entry.bottom);
        QString value = entry.value;
        r.readText(value);
        // The value field could show only the start of a longer text, and Save would write
        // that start back.
        if (value.size() > pos::MaxValueLength) {
            if (error)
                *error = QStringLiteral("%1 行目: 「%2」の%3が長すぎます（%4 文字。%5 文字まで）。")
                             .arg(r.line())
                             .arg(pos::entryCaption(e).trimmed(), pos::valueLabel(e))
                             .arg(value.size())
                             .arg(pos::MaxValueLength);
            return false;
        }
        entry.value = value;
        // A lamp or display without a slot number shows slot 0.
        if (e >= pos::CorrectionEntryCount && entry.value.isEmpty())
            entry.value = pos::defaultValue();
    }
    return true;
}

QList<int> loadPictures(PositionDocument& doc, const QString& folder, QStringList* warnings,
                        QStringList* pngNames) {
    // One loader for the file: nine names of one cabinet picture decode it once. Each slot
    // may hold a picture as large as "Load" takes, so a file the window saved reads back.
    pictures::PictureLoader loader(
        pictures::CabinetPictureLimits,
        pictures::readBudget(pictures::CabinetPictureLimits, pos::SlotCount));
    QList<int> skipped;
    for (int s = 0; s < pos::SlotCount; ++s) {
        PictureSlot& slot = doc.pictureSlots[s];
        if (slot.fileName.isEmpty()) {
            // A slot without a name holds no picture; do not leave an earlier one behind.
            slot.image = QImage();
            continue;
        }
        QString why;
        if (!loader.loadFromFolder(folder, slot.fileName, slot.image, &why)) {
            // The picture shown must be the one the slot names: one loaded earlier under
            // another name would be taken for it.
            slot.image = QImage();
            skipped.append(s);
            if (warnings)
                warnings->append(QStringLiteral("%1: %2").arg(pos::slotListText(s),
                                                              sjis::cutTextIn(why, slot.fileName)));
        }
    }
    if (pngNames) *pngNames = loader.pngNames();
    return skipped;
}

bool readFile(const QString& path, PositionDocument& doc, ReadReport* report, QString* error) {
    QByteArray bytes;
    if (!readWholeFile(path, bytes, error, MaxFileSize)) return false;
    PositionDocument copy = doc;
    ReadReport found;
    if (!readText(bytes, copy, &found, error)) return false;
    found.skippedPictures = loadPictures(copy, folderOfPath(QFileInfo(path).absoluteFilePath()),
                                         &found.warnings, &found.pngPictures);
    doc = std::move(copy);
    if (report) *report = found;
    return true;
}

bool writeFile(const QString& path, const PositionDocument& doc, QString* error) {
    if (const QString why = storeProblem(doc); !why.isEmpty()) {
        if (error) *error = why;
        return false;
    }
    return saveFileAtomically(path, write(doc), error);
}

}  // namespace ppf
