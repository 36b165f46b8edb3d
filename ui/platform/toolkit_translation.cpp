#include "ui/platform/toolkit_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>
#include <memory>

namespace tavlo::ui::platform {

bool InstallToolkitTranslation(QCoreApplication& app, const QString& programFolder)
{
    QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    if (!programFolder.isEmpty())
        folders.prepend(programFolder + QStringLiteral("/translations"));
    auto translator = std::make_unique<QTranslator>();
    for (const QString& folder : folders) {
        if (translator->load(QStringLiteral("qtbase_ja"), folder)) {
            translator->setParent(&app);
            return QCoreApplication::installTranslator(translator.release());
        }
    }
    return false;
}

}  // namespace tavlo::ui::platform
