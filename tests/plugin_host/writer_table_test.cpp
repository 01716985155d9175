// Every writer of a user's file on the disks and names users have: a
// read-only folder, a full disk, a file size limit, the longest name a
// folder allows, blanks and Chinese in the name, a symbolic link. A failed
// save keeps the old file, reports the failure and leaves no temporary file
// behind; a save that can succeed does, under the file's own name and
// through a link to the file the link names.
#include <cerrno>
#include <functional>

#include <sys/mount.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "document/clut_file.h"
#include "frame/color_dic.h"
#include "framework/dialog.h"
#include "host_fixture.h"
#include "imagemap/map_file.h"
#include "platform/memory.h"
#include "platform/profile.h"
#include "plugin_api/anim_can_file.h"
#include "tests/support/file_size_limit.h"

namespace hosttest {
namespace {

struct Writer {
    const char* name;
    // The file's own name for writers that always use one ("pm32.ini"), or
    // the extension of the names users give.
    QString fixedName;
    QString extension;
};

class WriterTable : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        ASSERT_TRUE(QFile::link(QStringLiteral(LOOPCAST_PATH), ProgramDir() + "Loopcast.FLT"));
        canTable = can_file::AllocAnimTable();
        MemLockGuard lock(canTable);
        reinterpret_cast<AnimFrame*>(lock.get())[0] = {1, 2, 30, 40, 100};
    }
    void TearDown() override {
        for (const QString& mount : mounts) ::umount2(QFile::encodeName(mount).constData(), MNT_DETACH);
        if (canTable) MemFree(canTable);
        HostTest::TearDown();
    }

    static const std::vector<Writer>& Writers() {
        static const std::vector<Writer> writers = {
            {"document (GIF)", {}, ".gif"}, {"palette", {}, ".clt"},     {"image map", {}, ".map"},
            {"frame list", {}, ".can"},     {"settings", "pm32.ini", {}}, {"colour dictionary", "COLOR.DIC", {}},
        };
        return writers;
    }

    // Saves new contents with the writer; its result.
    bool Save(const Writer& w, const QString& path) {
        const QString name = QString::fromUtf8(w.name);
        if (name == "document (GIF)") {
            auto doc = DocumentWithImage(6, 4, 2);
            doc->SetModifiedFlag(true);
            framework::ScopedModalDriver driver([](framework::Dialog& d) { d.ClickButton(framework::IDOK); });
            return doc->DoSave(path);
        }
        if (name == "palette") {
            WorkingPalette palette{};
            palette[1] = {9, 8, 7, 6};
            return document::WriteClutFile(path, palette);
        }
        if (name == "image map") {
            imagemap::RegionTable table;
            table.AddPointRegion({3, 4});
            table.SetUrl(0, "https://example.org/new");
            return imagemap::WriteMapFile(path, table);
        }
        if (name == "frame list") return SaveCan(canTable, QFile::encodeName(path).constData()) == 1;
        if (name == "settings")
            return platform::ProfileWriteString(QFile::encodeName(path).toStdString(), "Settings", "LastDir",
                                                "/new/place");
        ColorDicFile dic;
        dic.SetDirectories(QFileInfo(path).absolutePath() + '/', {});
        if (!dic.AddEntry({QStringLiteral("红"), 255, 0, 0, 0})) return false;
        return dic.SaveColorDic() == 1;
    }

    // A tmpfs of `size` bytes on a new folder of the files folder; empty
    // when this system lets the test mount nothing.
    QString MountedFolder(const QString& name, const char* size) {
        const QString dir = FilePath(name);
        if (!QDir().mkpath(dir)) return {};
        const QByteArray options = QByteArray("size=") + size;
        if (::mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", 0, options.constData()) != 0) return {};
        mounts << dir;
        return dir;
    }
    static bool MakeReadOnly(const QString& dir) {
        return ::mount(nullptr, QFile::encodeName(dir).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    // Fills the disk of `dir` to the last byte.
    static void Fill(const QString& dir) {
        QFile filler(dir + "/filler");
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
    }

    static QString NameFor(const Writer& w, const QString& base) {
        return w.fixedName.isEmpty() ? base + w.extension : w.fixedName;
    }
    static void Put(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    static QStringList Entries(const QString& dir) {
        return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }

    // A failure of the kind `situation` makes in `dir`: reported, the old
    // file as it was, nothing else left in the folder.
    void ExpectKeptOnFailure(const Writer& w, const QString& dir, const char* situation,
                             const std::function<bool(const QString&)>& save, const QStringList& others = {}) {
        SCOPED_TRACE(std::string(w.name) + ", " + situation);
        const QString path = dir + '/' + NameFor(w, "old");
        EXPECT_FALSE(save(path));
        EXPECT_EQ(ReadFile(path), kOld);
        QStringList expected = others;
        expected << NameFor(w, "old");
        expected.sort();
        EXPECT_EQ(Entries(dir), expected);
    }

    static inline const QByteArray kOld = "the user's old contents\r\n";
    MemHandle canTable = nullptr;
    QStringList mounts;
};

TEST_F(WriterTable, AReadOnlyOrFullDiskKeepsTheOldFile) {
    for (const Writer& w : Writers()) {
        const QString readOnly = MountedFolder(QString("ro-%1").arg(w.name), "256k");
        if (readOnly.isEmpty()) GTEST_SKIP() << "this system lets the test mount no small disk (needs root)";
        Put(readOnly + '/' + NameFor(w, "old"), kOld);
        ASSERT_TRUE(MakeReadOnly(readOnly));
        ExpectKeptOnFailure(w, readOnly, "read-only folder", [&](const QString& p) { return Save(w, p); });

        const QString full = MountedFolder(QString("full-%1").arg(w.name), "256k");
        ASSERT_FALSE(full.isEmpty());
        Put(full + '/' + NameFor(w, "old"), kOld);
        Fill(full);
        ExpectKeptOnFailure(w, full, "full disk", [&](const QString& p) { return Save(w, p); }, {"filler"});
    }
}

TEST_F(WriterTable, AFileSizeLimitKeepsTheOldFile) {
    for (const Writer& w : Writers()) {
        const QString dir = FilePath(QString("limit-%1").arg(w.name));
        ASSERT_TRUE(QDir().mkpath(dir));
        Put(dir + '/' + NameFor(w, "old"), kOld);
        ExpectKeptOnFailure(w, dir, "file size limit", [&](const QString& p) {
            return kvtest::WithFileSizeLimit(8, [&] { return Save(w, p); });
        });
    }
}

TEST_F(WriterTable, SavesUnderAnyNameAndThroughLinks) {
    for (const Writer& w : Writers()) {
        struct Case {
            const char* situation;
            QString folder;
            QString base;
        };
        std::vector<Case> cases = {{"blanks and Chinese", QStringLiteral("我的 图片"), QStringLiteral("新 图 1")}};
        // A name of 255 bytes, the most a folder allows.
        if (w.fixedName.isEmpty()) cases.push_back({"255-byte name", "long", QString(255 - int(w.extension.size()), u'n')});
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(w.name) + ", " + c.situation);
            const QString dir = FilePath(QString("%1-%2").arg(w.name, c.folder));
            ASSERT_TRUE(QDir().mkpath(dir));
            const QString path = dir + '/' + NameFor(w, c.base);
            if (QString(c.situation) == "255-byte name") {
                ASSERT_EQ(QFile::encodeName(QFileInfo(path).fileName()).size(), 255);
            }
            Put(path, kOld);
            EXPECT_TRUE(Save(w, path));
            EXPECT_NE(ReadFile(path), kOld);
            EXPECT_FALSE(ReadFile(path).isEmpty());
            EXPECT_EQ(Entries(dir), QStringList{NameFor(w, c.base)});
        }

        // Through a link: the link stays, the file it names is saved.
        SCOPED_TRACE(std::string(w.name) + ", symbolic link");
        const QString dir = FilePath(QString("link-%1").arg(w.name));
        ASSERT_TRUE(QDir().mkpath(dir + "/real"));
        const QString real = dir + "/real/" + NameFor(w, "目标");
        Put(real, kOld);
        const QString link = w.fixedName.isEmpty() ? dir + "/link" + w.extension : dir + '/' + w.fixedName;
        ASSERT_TRUE(QFile::link("real/" + NameFor(w, "目标"), link));
        EXPECT_TRUE(Save(w, link));
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_NE(ReadFile(real), kOld);
        EXPECT_EQ(Entries(dir + "/real"), QStringList{NameFor(w, "目标")});
        EXPECT_EQ(Entries(dir).size(), 2);
    }
}

}  // namespace
}  // namespace hosttest
