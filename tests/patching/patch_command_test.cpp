#include <QDir>

#include "patching/patch_formats.h"
#include "support/window_harness.h"

namespace tradumar {
namespace {

using testsupport::info;
using testsupport::readBytes;
using testsupport::writeBytes;

TEST(CreatePatch, WritesThePatchFromTheOriginalToTheRomNow) {
    struct Case {
        const char* name;
        bool keptOriginal;      // an insertion left <rom>.original beside the ROM
        QString pickedOriginal; // answer to the picker when there is none ("" cancels)
        QString patchName;      // answer to the save dialog ("" cancels)
        std::size_t romSize;
        QString message; // %1 the patch path, %2 its size; empty: no message
    };
    const QString written = QStringLiteral("Se ha creado el parche %1 (%2 bytes) con 3 bytes cambiados.");
    const Case cases[] = {
        {"bps from the kept copy", true, {}, QStringLiteral("parche.bps"), 64, written},
        {"ips from a picked original", false, QStringLiteral("picked.smc"), QStringLiteral("parche.IPS"), 64,
         written},
        {"no original picked", false, QString(), QString(), 64, QString()},
        {"save cancelled", true, {}, QString(), 64, QString()},
        {"another extension",
         true,
         {},
         QStringLiteral("parche.zip"),
         64,
         QStringLiteral("El nombre del parche debe terminar en .bps o en .ips.")},
        {"ips of a ROM over 16 MB",
         true,
         {},
         QStringLiteral("grande.ips"),
         0x1000001,
         QStringLiteral("La ROM mide más de 16 MB, más de lo que un parche IPS puede describir.\r\n"
                        "Cree un parche BPS.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::FixtureProject project;
        const std::string original(c.romSize, '\x11');
        std::string rom = original;
        rom[0] = 'A', rom[5] = 'B', rom[c.romSize - 1] = 'C';
        writeBytes(project.romPath, rom);
        const QString root = QString::fromStdString(project.root) + QLatin1Char('/');
        writeBytes(c.keptOriginal ? project.romPath + ".original" : project.root + "/picked.smc", original);
        project.script("10[4].txt", "Hola");

        testsupport::WindowHarness h;
        h.openProject(project);
        h.desktop.dialogs.clearRecords();
        if (!c.keptOriginal)
            h.desktop.dialogs.fileAnswers.push_back(c.pickedOriginal.isEmpty() ? QString()
                                                                               : root + c.pickedOriginal);
        const QString patchPath = c.patchName.isEmpty() ? QString() : root + c.patchName;
        if (c.keptOriginal || !c.pickedOriginal.isEmpty())
            h.desktop.dialogs.saveAnswers.push_back(patchPath);
        h.action("mnuParche")->trigger();

        ASSERT_EQ(h.desktop.dialogs.fileRequests.size(), c.keptOriginal ? 0u : 1u);
        if (!c.keptOriginal) {
            EXPECT_EQ(h.desktop.dialogs.fileRequests[0].title,
                      QStringLiteral("Seleccione la ROM original, sin traducir"));
        }
        if (c.keptOriginal || !c.pickedOriginal.isEmpty()) {
            ASSERT_EQ(h.desktop.dialogs.saveRequests.size(), 1u);
            EXPECT_EQ(h.desktop.dialogs.saveRequests[0].filter,
                      QStringLiteral("Parche BPS (*.bps)|*.bps|Parche IPS (*.ips)|*.ips"));
        }
        const std::string patch = patchPath.isEmpty() ? std::string() : readBytes(pathFromQString(patchPath));
        if (c.message.isEmpty()) {
            EXPECT_TRUE(h.desktop.dialogs.messages.empty());
        } else {
            ASSERT_EQ(h.desktop.dialogs.messages.size(), 1u);
            EXPECT_EQ(h.desktop.dialogs.messages[0],
                      info(c.message == written ? c.message.arg(patchPath).arg(patch.size()) : c.message));
        }
        if (c.message == written) {
            const AppliedPatch applied = patchPath.endsWith(QStringLiteral(".bps"))
                                             ? applyBpsPatch(patch, original)
                                             : applyIpsPatch(patch, original);
            EXPECT_TRUE(applied.ok() && applied.target == rom);
        } else {
            EXPECT_TRUE(patch.empty());
        }
    }
}

} // namespace
} // namespace tradumar
