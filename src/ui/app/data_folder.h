#pragma once
// Files that ship with the program (help page, sample lessons): beside the program in the build
// tree, else in the install's share folder.
#include <QString>
#include <QStringList>

namespace kibiki::ui {

// Where a shipped file or folder is looked for, in order.
QStringList DataPathCandidates(const QString& strRelative);

// The folder of the sample lesson files; empty when none is found.
QString SampleLessonFolder();

}  // namespace kibiki::ui
