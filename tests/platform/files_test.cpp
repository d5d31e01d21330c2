#include "platform/files.h"

#include "engine/errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FilesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString at(const QString &name) const { return dir.filePath(name); }
    void make(const QString &name, const QByteArray &content = "x") {
        QFile f(at(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray content(const QString &name) const {
        QFile f(at(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList names() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
};

std::int32_t errorOf(const std::function<void()> &f) {
    try {
        f();
    } catch (const engine::RuntimeError &e) {
        return e.number();
    }
    return 0;
}

TEST_F(FilesTest, ListingFindsAnyCaseAndGivesTheNameOnDisk) {
    make(QStringLiteral("INDDATA.MDB"));
    make(QStringLiteral("Ærø.mdb"));
    EXPECT_EQ(platform::ListFile(at(QStringLiteral("inddata.mdb"))), QStringLiteral("INDDATA.MDB"));
    EXPECT_EQ(platform::ListFile(at(QStringLiteral("ærø.MDB"))), QStringLiteral("Ærø.mdb"));
    EXPECT_EQ(platform::ListFile(at(QStringLiteral("param.mdb"))), QString());
}

TEST_F(FilesTest, ListingPrefersTheExactSpelling) {
    make(QStringLiteral("INDDATA.TMP"));
    make(QStringLiteral("inddata.tmp"));
    EXPECT_EQ(platform::ListFile(at(QStringLiteral("inddata.tmp"))), QStringLiteral("inddata.tmp"));
    EXPECT_EQ(platform::ListFile(at(QStringLiteral("INDDATA.TMP"))), QStringLiteral("INDDATA.TMP"));
    EXPECT_EQ(platform::ListFile(at(QStringLiteral("Inddata.Tmp"))), QStringLiteral("INDDATA.TMP"));
}

TEST_F(FilesTest, HiddenFilesAndFoldersAreNotListed) {
    make(QStringLiteral(".param.mdb"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("isol.mdb")));
    EXPECT_EQ(platform::ListFile(at(QStringLiteral(".param.mdb"))), QString());
    EXPECT_EQ(platform::ListFile(at(QStringLiteral("isol.mdb"))), QString());
}

TEST_F(FilesTest, DeleteFindsTheFileInAnyCase) {
    make(QStringLiteral("INDDATA.MDB"));
    platform::DeleteFile(at(QStringLiteral("inddata.mdb")));
    EXPECT_TRUE(names().isEmpty());
    EXPECT_EQ(errorOf([&] { platform::DeleteFile(at(QStringLiteral("inddata.mdb"))); }), 53);
}

TEST_F(FilesTest, RenameTakesTheNameAsGiven) {
    make(QStringLiteral("INDDATA.TMP"), "copy");
    platform::RenameFile(at(QStringLiteral("inddata.tmp")), at(QStringLiteral("inddata.mdb")));
    EXPECT_EQ(names(), QStringList{QStringLiteral("inddata.mdb")});
    EXPECT_EQ(content(QStringLiteral("inddata.mdb")), "copy");
}

TEST_F(FilesTest, RenameNeverOverwrites) {
    make(QStringLiteral("inddata.tmp"), "copy");
    make(QStringLiteral("INDDATA.MDB"), "original");
    EXPECT_EQ(
        errorOf([&] { platform::RenameFile(at(QStringLiteral("inddata.tmp")), at(QStringLiteral("inddata.mdb"))); }),
        58);
    EXPECT_EQ(content(QStringLiteral("INDDATA.MDB")), "original");
    EXPECT_EQ(content(QStringLiteral("inddata.tmp")), "copy");
    EXPECT_EQ(errorOf([&] { platform::RenameFile(at(QStringLiteral("gone.tmp")), at(QStringLiteral("x.mdb"))); }), 53);
}

TEST_F(FilesTest, RenameMayChangeTheCaseOnly) {
    make(QStringLiteral("INDDATA.MDB"));
    platform::RenameFile(at(QStringLiteral("INDDATA.MDB")), at(QStringLiteral("inddata.mdb")));
    EXPECT_EQ(names(), QStringList{QStringLiteral("inddata.mdb")});
}

TEST_F(FilesTest, SyncNeedsAnExistingFile) {
    make(QStringLiteral("Inddata.tmp"));
    platform::SyncFile(at(QStringLiteral("inddata.tmp")));
    platform::SyncFolder(dir.path());
    EXPECT_EQ(errorOf([&] { platform::SyncFile(at(QStringLiteral("param.mdb"))); }), 53);
}

} // namespace
