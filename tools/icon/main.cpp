// make-icon FOLDER SIZE...: the project's icon as pagora.svg and as
// pagora-SIZE.png at each size.
#include <QFile>
#include <QSaveFile>
#include <cstdio>
#include <cstdlib>

#include "Icon.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make-icon FOLDER SIZE...\n");
        return 2;
    }
    const QString folder = QFile::decodeName(argv[1]);
    const std::vector<icon::Shape> shapes = icon::AlbumIcon();
    QSaveFile svg(folder + "/pagora.svg");
    if (!svg.open(QIODevice::WriteOnly) || svg.write(icon::ToSvg(shapes).toUtf8()) < 0 ||
        !svg.commit()) {
        std::fprintf(stderr, "make-icon: cannot write %s/pagora.svg\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 1 || size > 1024) {
            std::fprintf(stderr, "make-icon: no size \"%s\"\n", argv[i]);
            return 2;
        }
        const QString name = QString("%1/pagora-%2.png").arg(folder).arg(size);
        if (!icon::ToPicture(shapes, size).save(name, "PNG")) {
            std::fprintf(stderr, "make-icon: cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
