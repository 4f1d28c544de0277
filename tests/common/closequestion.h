#pragma once

// The quit question every editor asks when a window with unsaved work is closed or a Load
// would replace it, and what each answer must lead to.

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "scripteddialogs.h"
#include "windowtest.h"

namespace wintest {

// Rows of the answer, the save dialog's path (a file name in a fresh folder, "" cancels the
// dialog, one in a missing folder fails), whether the window closes and whether it wrote.
inline void closeQuestionRows(const QString& fileName) {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAnswer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    QTest::newRow("Cancel keeps the window")
        << int(Dialogs::Answer::Cancel) << "" << false << false;
    QTest::newRow("No closes without writing") << int(Dialogs::Answer::No) << "" << true << false;
    QTest::newRow("Yes and a save closes") << int(Dialogs::Answer::Yes) << fileName << true << true;
    QTest::newRow("Yes but the dialog cancelled stays")
        << int(Dialogs::Answer::Yes) << "" << false << false;
    QTest::newRow("Yes but the write fails stays")
        << int(Dialogs::Answer::Yes) << "gone/" + fileName << false << false;
}

// Closes a shown window that holds unsaved work, answering the question and the save dialog
// from the current row, and checks what follows.
inline void checkCloseQuestion(QWidget& w, ScriptedDialogs& dialogs, const QString& fileName,
                               const std::function<bool()>& isModified) {
    QFETCH(int, answer);
    QFETCH(QString, saveAnswer);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    QTemporaryDir out;
    dialogs.answers << static_cast<Dialogs::Answer>(answer);
    dialogs.fileAnswers << (saveAnswer.isEmpty() ? QString() : out.filePath(saveAnswer));
    QCOMPARE(w.close(), closes);
    QCOMPARE(dialogs.shown.first().title, QStringLiteral("終了確認"));
    QCOMPARE(dialogs.shown.first().text,
             QStringLiteral("データに変更があります。セーブしますか？"));
    QCOMPARE(dialogs.shown.first().icon, Dialogs::Icon::Information);
    QCOMPARE(dialogs.shown.first().buttons, Dialogs::Buttons::YesNoCancel);
    QCOMPARE(QFile::exists(out.filePath(fileName)), written);
    QCOMPARE(isModified(), !written);
    if (answer != int(Dialogs::Answer::Yes)) QVERIFY(dialogs.fileRequests.isEmpty());
}

// A Load pressed over unsaved work: Cancel shows no dialog and reads nothing, No reads `path`.
inline void checkLoadQuestion(QWidget& w, ScriptedDialogs& dialogs, const QString& button,
                              const QString& path, const std::function<bool()>& isModified) {
    dialogs.answers << Dialogs::Answer::Cancel << Dialogs::Answer::No;
    dialogs.fileAnswers << path;
    click(w, button);
    QVERIFY(dialogs.fileRequests.isEmpty());
    QVERIFY(isModified());
    click(w, button);
    QCOMPARE(dialogs.shown.size(), 2);
    QCOMPARE(dialogs.shown[1].title, QStringLiteral("終了確認"));
    QCOMPARE(dialogs.fileRequests.size(), 1);
    QVERIFY(!isModified());
}

}  // namespace wintest
