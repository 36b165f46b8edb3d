// Qt's own texts in Japanese whatever the system's language: the standard
// menu of a text box, as the condition dialog's boxes show it.
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>
#include <memory>

#include "ui/platform/toolkit_translation.h"

class PlatformToolkitTranslationTest : public QObject {
    Q_OBJECT

private slots:
    void lineEditMenuIsJapanese()
    {
        // The build folder stands for the program's folder: the Windows build
        // carries the translation in its translations/, as the zip does; the
        // Linux build has none there and finds Qt's own.
        QVERIFY(tavlo::ui::platform::InstallToolkitTranslation(*qApp, qEnvironmentVariable("TAVLO_BUILD_DIR")));

        QLineEdit box(QStringLiteral("123"));
        const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator())
                texts << action->text().section(u'\t', 0, 0);  // without the shortcut
        }
        const QStringList expected{QStringLiteral("元に戻す(&U)"), QStringLiteral("やり直す(&R)"),
                                   QStringLiteral("切り取り(&T)"), QStringLiteral("コピー(&C)"),
                                   QStringLiteral("貼り付け(&P)"), QStringLiteral("削除"),
                                   QStringLiteral("すべてを選択")};
        QCOMPARE(texts, expected);
    }
};

QTEST_MAIN(PlatformToolkitTranslationTest)
#include "platform_toolkit_translation_test.moc"
