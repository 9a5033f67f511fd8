#include "ui/app/data_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kibiki::ui {

QStringList DataPathCandidates(const QString& strRelative) {
    const QDir exeDir(QCoreApplication::applicationDirPath());
    return {exeDir.filePath(strRelative), exeDir.filePath(QStringLiteral("../share/kibiki/") + strRelative),
            QStringLiteral("/usr/share/kibiki/") + strRelative};
}

QString SampleLessonFolder() {
    for (const QString& strPath : DataPathCandidates(QStringLiteral("lessons")))
        if (QFileInfo(strPath).isDir()) return QFileInfo(strPath).canonicalFilePath();
    return {};
}

}  // namespace kibiki::ui
