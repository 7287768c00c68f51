#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>

#include "SimDlg.h"

namespace {

// Points Qt's icon theme lookup at `root` (holding only what the test puts there) for the
// life of the object.
class ThemeRoot {
public:
    explicit ThemeRoot(const QString& root)
        : m_paths(QIcon::themeSearchPaths()), m_name(QIcon::themeName()) {
        QIcon::setThemeSearchPaths({root});
        QIcon::setThemeName(QStringLiteral("hicolor"));
    }
    ~ThemeRoot() {
        QIcon::setThemeSearchPaths(m_paths);
        QIcon::setThemeName(m_name);
    }

private:
    QStringList m_paths;
    QString m_name;
};

// Premultiplied, as a pixmap holds it: fully transparent pixels then compare equal whatever
// colour the file gave them.
QImage Premultiplied(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TEST(ApplicationIcon, BuiltInIconsWhenNoThemeHasOne) {
    QTemporaryDir root;
    ThemeRoot theme(root.path());
    const QIcon icon = ApplicationIcon();
    for (int size : {16, 32}) {
        const QImage builtIn(QStringLiteral(":/quorvel-%1.png").arg(size));
        ASSERT_FALSE(builtIn.isNull()) << size;
        EXPECT_EQ(Premultiplied(icon.pixmap(size, size).toImage()), Premultiplied(builtIn)) << size;
    }
}

TEST(ApplicationIcon, InstalledThemeIconTakesPrecedence) {
    QTemporaryDir root;
    const QString hicolor = root.path() + QStringLiteral("/hicolor");
    ASSERT_TRUE(QDir().mkpath(hicolor + QStringLiteral("/48x48/apps")));
    QFile index(hicolor + QStringLiteral("/index.theme"));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write(
        "[Icon Theme]\nName=Hicolor\nDirectories=48x48/apps\n\n"
        "[48x48/apps]\nSize=48\nType=Threshold\n");
    index.close();
    QImage green(48, 48, QImage::Format_ARGB32);
    green.fill(Qt::green);
    ASSERT_TRUE(green.save(hicolor + QStringLiteral("/48x48/apps/" QUORVEL_APP_ID ".png")));

    ThemeRoot theme(root.path());
    const QImage shown = Premultiplied(ApplicationIcon().pixmap(48, 48).toImage());
    ASSERT_EQ(shown.size(), QSize(48, 48));
    EXPECT_EQ(shown.pixel(24, 24), green.pixel(24, 24));
}

}  // namespace
