#include "platform/files.h"

#include "engine/errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

class FilesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString at(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    void make(const char *name, const QByteArray &content = "x") {
        QFile f(at(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QString contents() const {
        QStringList out;
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
            QFile f(dir.filePath(name));
            out << name + "=" + (f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString());
        }
        return out.join(' ');
    }
    static std::int32_t errorOf(const std::function<void()> &f) {
        try {
            f();
        } catch (const engine::RuntimeError &e) {
            return e.number();
        }
        return 0;
    }
};

// Names are found in any case, the exact spelling first; hidden files and folders are not listed.
TEST_F(FilesTest, ListingFindsAnyCaseAndGivesTheNameOnDisk) {
    for (const char *name : {"INDDATA.MDB", "Ærø.mdb", "INDDATA.TMP", "inddata.tmp", ".param.mdb"})
        make(name);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("isol.mdb")));
    const std::pair<const char *, const char *> cases[] = {
        {"inddata.mdb", "INDDATA.MDB"}, {"ærø.MDB", "Ærø.mdb"},       {"param.mdb", ""},
        {"inddata.tmp", "inddata.tmp"}, {"INDDATA.TMP", "INDDATA.TMP"}, {"Inddata.Tmp", "INDDATA.TMP"},
        {".param.mdb", ""},             {"isol.mdb", ""},
    };
    for (const auto &[asked, found] : cases)
        EXPECT_EQ(platform::ListFile(at(asked)), QString::fromUtf8(found)) << asked;
}

// Delete and rename find the file in any case; rename takes the new name as given and never overwrites.
TEST_F(FilesTest, DeleteRenameAndSync) {
    make("INDDATA.MDB", "original");
    make("Inddata.tmp", "copy");
    platform::SyncFile(at("inddata.tmp"));
    platform::SyncFolder(dir.path());
    EXPECT_EQ(errorOf([&] { platform::RenameFile(at("inddata.tmp"), at("inddata.mdb")); }), 58);
    EXPECT_EQ(contents(), "INDDATA.MDB=original Inddata.tmp=copy");
    platform::DeleteFile(at("inddata.mdb"));
    platform::RenameFile(at("inddata.tmp"), at("inddata.mdb"));
    EXPECT_EQ(contents(), "inddata.mdb=copy");
    platform::RenameFile(at("inddata.mdb"), at("INDDATA.mdb"));
    EXPECT_EQ(contents(), "INDDATA.mdb=copy");
    for (const auto &missing : std::vector<std::function<void()>>{
             [&] { platform::DeleteFile(at("gone.mdb")); }, [&] { platform::RenameFile(at("gone.tmp"), at("x.mdb")); },
             [&] { platform::SyncFile(at("gone.mdb")); }})
        EXPECT_EQ(errorOf(missing), 53);
}

} // namespace
