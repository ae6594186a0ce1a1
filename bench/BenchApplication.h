#pragma once

// The QApplication of a benchmark that draws widgets, made on first use and
// kept to the end: Qt's own statics must outlive it, so it is never destroyed.
// Off screen unless QT_QPA_PLATFORM says otherwise.

#include <QApplication>

inline void EnsureBenchApplication()
{
    static int argc = 1;
    static char name[] = "memorix-bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    [[maybe_unused]] static QApplication* const application = new QApplication(argc, argv);
}
