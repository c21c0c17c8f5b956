// Writes the documentation's pictures: every registered shot, or those named.
//   tradumar_shots DEMO_PROJECT OUTPUT_FOLDER [FILE_NAME...]
#include <cstdio>

#include <QApplication>
#include <QDir>

#include "shot.h"

namespace tradumar::shots {

std::vector<Shot>& registry() {
    static std::vector<Shot> shots;
    return shots;
}

} // namespace tradumar::shots

int main(int argc, char** argv) {
    // Drawn off screen: the pictures need no display and do not depend on a desktop's theme.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DEMO_PROJECT OUTPUT_FOLDER [FILE_NAME...]\n", argv[0]);
        return 2;
    }
    const tradumar::shots::ShotContext context{argv[1]};
    const QDir output(QString::fromLocal8Bit(argv[2]));
    const QStringList wanted = app.arguments().mid(3);
    int failures = 0;
    for (const auto& shot : tradumar::shots::registry()) {
        if (!wanted.isEmpty() && !wanted.contains(shot.fileName))
            continue;
        const QString path = output.filePath(shot.fileName);
        const QImage picture = shot.take(context);
        const bool saved = !picture.isNull() && picture.save(path);
        std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
        failures += saved ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
