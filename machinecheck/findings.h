#pragma once

#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

// What the checker found in a machine folder: one line each, "file:line: error: text".
namespace check {

enum class Severity { Error, Warning };

struct Finding {
    QString file;  // path of the file at fault, as the folder was given
    int line = 0;  // 1-based; 0 when the finding has no line
    Severity severity = Severity::Error;
    QString text;
    bool operator==(const Finding&) const = default;
};

// Collects findings. A kind of finding that repeats (a stop table full of bad values)
// is shown MaxPerKind times per file, then summed up in one "and N more" line.
class Findings {
public:
    static constexpr int MaxPerKind = 10;

    void error(const QString& file, int line, const QString& kind, const QString& text) {
        add(file, line, Severity::Error, kind, text);
    }
    void warning(const QString& file, int line, const QString& kind, const QString& text) {
        add(file, line, Severity::Warning, kind, text);
    }
    void add(const QString& file, int line, Severity severity, const QString& kind,
             const QString& text);

    // The findings by file (in the order files were first named) and line, each once,
    // the "and N more" lines included.
    QList<Finding> sorted() const;

    int count(Severity severity) const { return severity == Severity::Error ? errors_ : warnings_; }

private:
    struct Kind {
        int shown = 0;
        int hidden = 0;
        Finding last;
    };
    QList<Finding> list_;
    QHash<QString, int> fileOrder_;
    QMap<QString, Kind> kinds_;  // by file + kind
    QSet<QString> seen_;         // a finding reached twice (two machines share a file) shows once
    int errors_ = 0;
    int warnings_ = 0;
};

// "file:line: error: text" lines (no line number for line 0), each ending in a newline.
QString formatText(const QList<Finding>& findings);
// A JSON list of {"file", "line", "severity", "message"} objects; line 0 means none.
QByteArray formatJson(const QList<Finding>& findings);

}  // namespace check
