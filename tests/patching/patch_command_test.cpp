#include <QDir>

#include "patching/patch_formats.h"
#include "support/window_harness.h"

namespace tradumar::testsupport {
namespace {

TEST(CreatePatch, WritesThePatchFromTheOriginalToTheRomNow) {
    struct Case {
        const char* name;
        bool keptOriginal;      // an insertion left <rom>.original beside the ROM
        QString pickedOriginal; // answer to the picker when there is none ("" cancels)
        QString patchName;      // answer to the save dialog ("" cancels)
        QString message;        // %1 the patch path, %2 its size; empty: no message
        std::size_t romSize = 64;
    };
    const QString written = QStringLiteral(
        "Se ha creado el parche %1 (%2 bytes) con 3 bytes cambiados.\r\nOrigen: %3 (%4 bytes, CRC32 %5).");
    const QString tooBig = QStringLiteral(
        "La ROM mide más de 16 MB, más de lo que un parche IPS puede describir.\r\nCree un parche BPS.");
    const Case cases[] = {
        {"bps from the kept copy", true, {}, "parche.bps", written},
        {"ips from a picked original", false, "picked.smc", "parche.IPS", written},
        {"no original picked", false, "", "", ""},
        {"save cancelled", true, {}, "", ""},
        {"zip", true, {}, "parche.zip", "El nombre del parche debe terminar en .bps o en .ips."},
        {"ips of a ROM over 16 MB", true, {}, "grande.ips", tooBig, 0x1000001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FixtureProject project;
        const std::string original(c.romSize, '\x11');
        std::string rom = original;
        rom[0] = 'A', rom[5] = 'B', rom[c.romSize - 1] = 'C';
        writeBytes(project.romPath, rom);
        const QString root = QString::fromStdString(project.root) + QLatin1Char('/');
        writeBytes(c.keptOriginal ? project.romPath + ".original" : project.root + "/picked.smc", original);
        project.script("10[4].txt", "Hola");

        WindowHarness h;
        h.openProject(project);
        h.desktop.dialogs.clearRecords();
        // A picker asked with no answer queued fails the test.
        if (!c.keptOriginal)
            h.desktop.dialogs.fileAnswers = {c.pickedOriginal.isEmpty() ? QString()
                                                                        : root + c.pickedOriginal};
        const QString patchPath = c.patchName.isEmpty() ? QString() : root + c.patchName;
        if (c.keptOriginal || !c.pickedOriginal.isEmpty())
            h.desktop.dialogs.saveAnswers = {patchPath};
        h.action("mnuParche")->trigger();
        for (const FileRequest& request : h.desktop.dialogs.saveRequests) {
            EXPECT_EQ(request.filter, QStringLiteral("Parche BPS (*.bps)|*.bps|Parche IPS (*.ips)|*.ips"));
            // "<project name>.bps" beside the project.
            EXPECT_EQ(request.proposedFile, root + QStringLiteral("Demo.bps"));
        }
        const std::string patch = patchPath.isEmpty() ? std::string() : readBytes(pathFromQString(patchPath));
        const QString source =
            c.keptOriginal ? QString::fromStdString(project.romPath + ".original") : root + c.pickedOriginal;
        const QString crc = QStringLiteral("%1").arg(crc32Of(original), 8, 16, QLatin1Char('0')).toUpper();
        const QString said =
            c.message != written
                ? c.message
                : written.arg(patchPath).arg(patch.size()).arg(source).arg(c.romSize).arg(crc);
        EXPECT_EQ(h.desktop.dialogs.messages,
                  said.isEmpty() ? std::vector<RecordedMessage>{} : std::vector{info(said)});
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

TEST(CreatePatch, AsksBeforeWritingAPatchThatChangesNothing) {
    FixtureProject project;
    writeBytes(project.romPath + ".original", readBytes(project.romPath));
    WindowHarness h;
    h.openProject(project);
    h.desktop.dialogs.clearRecords();
    h.desktop.dialogs.answers = {MessageAnswer::No}; // no save dialog follows
    h.action("mnuParche")->trigger();
    EXPECT_EQ(h.messages(),
              std::vector<RecordedMessage>(
                  {{QStringLiteral("La ROM es igual a la original: el "
                                   "parche no cambiaría nada.\r\n¿Desea "
                                   "crearlo de todos modos?"),
                    QStringLiteral("Crear parche"), MessageButtons::YesNo, MessageIcon::Question}}));
}

} // namespace
} // namespace tradumar::testsupport
