// make-sample-photos: draws the sample album's photos and music and the list
// that `kfa make` reads.
#include <QGuiApplication>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

#include "SampleFiles.h"

namespace {

const char kUsage[] =
    "Usage: make-sample-photos -o FOLDER [--only N]\n\n"
    "Draws the sample album's photos, synthesises its two music tracks and writes\n"
    "list.txt (all photos), list-two.txt and list-three.txt for kfa make.\n"
    "--only N draws photo N (1-based) alone and nothing else.\n";

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::string folder;
    int only = 0;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if ((a == "-o" || a == "--only") && i + 1 < argc) {
            std::string value = argv[++i];
            if (a == "-o") {
                folder = value;
                continue;
            }
            try {
                only = std::stoi(value);
            } catch (const std::exception&) {
                only = -1;
            }
            if (only < 1 || only > static_cast<int>(pagora::sample::Scenes().size())) {
                std::cerr << "make-sample-photos: --only takes a photo number from 1 to "
                          << pagora::sample::Scenes().size() << "\n";
                return 2;
            }
        } else if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        } else {
            std::cerr << "make-sample-photos: unexpected argument \"" << a << "\"\n\n" << kUsage;
            return 2;
        }
    }
    if (folder.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    QGuiApplication app(argc, argv);
    try {
        if (only)
            pagora::sample::WritePhoto(folder, only - 1);
        else
            pagora::sample::WriteSample(folder);
    } catch (const std::exception& e) {
        std::cerr << "make-sample-photos: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
