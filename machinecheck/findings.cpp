#include "findings.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace check {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(Findings)
};

// The names the JSON list gives, the same in every language.
QString severityName(Severity s) {
    return s == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning");
}

}  // namespace

void Findings::add(const QString& file, int line, Severity severity, const QString& kind,
                   const QString& text) {
    const QString key =
        QStringLiteral("%1\n%2\n%3\n%4").arg(file).arg(line).arg(int(severity)).arg(text);
    if (seen_.contains(key)) return;
    seen_.insert(key);
    ++(severity == Severity::Error ? errors_ : warnings_);
    if (!fileOrder_.contains(file)) fileOrder_.insert(file, int(fileOrder_.size()));
    Kind& k = kinds_[file + QLatin1Char('\n') + kind];
    if (k.shown == MaxPerKind) {
        ++k.hidden;
        return;
    }
    ++k.shown;
    k.last = Finding{file, line, severity, text};
    list_.append(k.last);
}

QList<Finding> Findings::sorted() const {
    QList<Finding> out = list_;
    for (const Kind& k : kinds_)
        if (k.hidden > 0)
            out.append(Finding{k.last.file, k.last.line, k.last.severity,
                               Text::tr("... and %1 more like the one above").arg(k.hidden)});
    std::stable_sort(out.begin(), out.end(), [&](const Finding& a, const Finding& b) {
        const int fa = fileOrder_.value(a.file), fb = fileOrder_.value(b.file);
        if (fa != fb) return fa < fb;
        return a.line < b.line;
    });
    return out;
}

QString formatText(const QList<Finding>& findings) {
    QString out;
    for (const Finding& f : findings) {
        out += f.file;
        if (f.line > 0) out += QLatin1Char(':') + QString::number(f.line);
        out += QStringLiteral(": ") +
               (f.severity == Severity::Error ? Text::tr("error") : Text::tr("warning")) +
               QStringLiteral(": ") + f.text + QLatin1Char('\n');
    }
    return out;
}

QByteArray formatJson(const QList<Finding>& findings) {
    QJsonArray list;
    for (const Finding& f : findings)
        list.append(QJsonObject{{QStringLiteral("file"), f.file},
                                {QStringLiteral("line"), f.line},
                                {QStringLiteral("severity"), severityName(f.severity)},
                                {QStringLiteral("message"), f.text}});
    return QJsonDocument(list).toJson(QJsonDocument::Indented);
}

}  // namespace check
