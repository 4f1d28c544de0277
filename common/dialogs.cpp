#include "dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QString toQtFilter(const QString& barFilter) {
    const QStringList parts = barFilter.split(QLatin1Char('|'));
    QStringList items;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString label = parts[i];
        if (label.isEmpty() && parts[i + 1].isEmpty()) continue;
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");
        }
        items << QStringLiteral("%1 (%2)").arg(label, patterns.join(QLatin1Char(' ')));
    }
    return items.join(QStringLiteral(";;"));
}

// ---- QtDialogs ----

QString QtDialogs::fileDialog(QWidget* parent, bool save, const QString& filter,
                              const QString& initialFolder) {
    QString folder = initialFolder;
    if (folder.isEmpty()) folder = workingFolder();
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The chosen file need not exist for an open either, and nothing asks before a replace.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilters(toQtFilter(filter).split(QStringLiteral(";;")));
    dialog.setDirectory(folder);
    QString chosen;
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        chosen = dialog.selectedFiles().constFirst();
    if (!chosen.isEmpty()) workingFolder_ = QFileInfo(chosen).absolutePath();
    return chosen;
}

QString QtDialogs::workingFolder() const {
    return workingFolder_.isEmpty() ? QDir::currentPath() : workingFolder_;
}

QString QtDialogs::openFile(QWidget* parent, const QString& filter, const QString& initialFolder) {
    return fileDialog(parent, false, filter, initialFolder);
}

QString QtDialogs::saveFile(QWidget* parent, const QString& filter, const QString& initialFolder) {
    return fileDialog(parent, true, filter, initialFolder);
}

Dialogs::Answer QtDialogs::message(QWidget* parent, const QString& title, const QString& text, Icon icon,
                                   Buttons buttons, const QString& detail) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    if (!detail.isEmpty()) box.setInformativeText(detail);
    switch (icon) {
        case Icon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Ok:
            return Answer::Ok;
        default:
            return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}
