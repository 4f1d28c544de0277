#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <variant>

// One field of a CommaLine: a number, written plainly, or a text, written in double quotes.
class CommaField {
public:
    CommaField(int number) : value_(static_cast<std::int32_t>(number)) {}
    CommaField(const QString& text) : value_(text) {}
    CommaField(const char* ascii) : value_(QString::fromLatin1(ascii)) {}
    const std::variant<std::int32_t, QString>& value() const { return value_; }

private:
    std::variant<std::int32_t, QString> value_;
};

// Builds the bytes of a data file: code page 932, every line ending in CR LF.
class TextWriter {
public:
    // Fields separated by single commas, numbers plain, texts in double quotes (nothing escaped).
    void commaLine(std::initializer_list<CommaField> fields);
    void commaNumbers(std::span<const std::int16_t> values);
    void commaNumbers(std::initializer_list<std::int32_t> values);
    // Numbers only, each as sign position ("-" or blank), digits and one trailing blank.
    void spacedLine(std::span<const std::int16_t> values);
    void spacedLine(std::span<const std::int32_t> values);
    void spacedLine(std::initializer_list<std::int32_t> values);
    // A text written as it stands, no quotes.
    void rawLine(const QString& text);
    void rawLine(const char* ascii);

    const QByteArray& bytes() const { return bytes_; }
    QByteArray take() { return std::move(bytes_); }
    void reserve(qsizetype size) { bytes_.reserve(size); }

private:
    // Room for a line of at most maxChars characters; end() closes it with CR LF.
    char* begin(qsizetype maxChars);
    void end(char* out);
    QByteArray bytes_;
};

// Why the last read failed, for the detail of a "bad file" message.
enum class FieldError { None, MissingField, NotANumber, OutOfRange };

// Reads the fields of a data file one after another, whatever line they stand on.
// A failed number read still consumes its field, so lenient readers can go on.
class FieldReader {
public:
    explicit FieldReader(QByteArray bytes);

    // True when no field is left (a missing field would be a read failure).
    bool atEnd() const { return pos_ >= size_; }

    std::optional<QString> text();
    std::optional<std::int16_t> int16();
    std::optional<std::int32_t> int32();
    // Consumes one field of any kind; false at the end of the data.
    bool skip();

    // Convenience forms that keep the target unchanged on failure.
    bool readText(QString& out);
    bool readInt16(std::int16_t& out);
    bool readInt32(std::int32_t& out);

    FieldError error() const { return error_; }
    // 1-based line of the field read last (or of the failure).
    int line() const { return fieldLine_; }
    // A short Japanese description of the last failure, naming its line.
    QString errorString() const;

    // Line ends left from the current position on (a last line without its CR LF counts too).
    qsizetype remainingLines() const;

    qsizetype position() const { return pos_; }

private:
    // Bounds of the next raw field; advances past it and its separator.
    bool nextField(qsizetype& begin, qsizetype& end, bool& quoted, bool numberField);
    std::optional<std::int64_t> number(std::int64_t min, std::int64_t max);
    void skipSeparator();
    bool isLineEnd(qsizetype p) const { return data_[p] == '\r' || data_[p] == '\n'; }
    void consumeLineEnd();

    QByteArray bytes_;
    const char* data_;
    qsizetype size_;
    qsizetype pos_ = 0;
    int currentLine_ = 1;
    int fieldLine_ = 0;
    FieldError error_ = FieldError::None;
    QString badText_;
};
