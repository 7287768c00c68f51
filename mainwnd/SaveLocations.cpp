#include "SaveLocations.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "Translations.h"

namespace {

std::string Native(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

QString StartFolderFor(FileKind kind, const QString& lastUsed) {
    const QString standard = QStandardPaths::writableLocation(
        FileKindOf(kind).folder == StandardFolder::Pictures ? QStandardPaths::PicturesLocation
                                                            : QStandardPaths::DocumentsLocation);
    return QFile::decodeName(
        StartFolder(Native(lastUsed), Native(standard), Native(QDir::homePath())).c_str());
}

QString ProposedPath(FileKind kind, const QString& folder) {
    return QDir(folder).filePath(QString::fromStdString(SuggestedName(kind, LocalTimeNow())));
}

QString DialogCaptionFor(const char* itemText) {
    return QString::fromStdString(DialogCaption(Tr(itemText).toStdString()));
}
