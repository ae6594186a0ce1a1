// Memorix, the desktop program: loads the language library, builds the main
// frame and runs the command line (a data file opens it; otherwise File New).

#include "app/CMemorixApp.h"
#include "ui/frame/CMainFrame.h"
#include "ui/shared/CommandTable.h"
#include "ui/shared/QtMessageBox.h"
#include "catalogue/CPlcDatabase.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/QtSettingsStore.h"
#include "resources/CResourceHandle.h"
#include "resources/CodePageChoice.h"
#include "resources/LanguageLoader.h"
#include "resources/ResourceIds.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Varnholt"));
    QApplication::setApplicationName(QStringLiteral("Memorix"));

    platform::QtSettingsStore settings;
    QtMessageBox messages;
    CResourceHandle resources;
    if (!LoadLanguageResources(settings, platform::ProgramFolder(), resources, messages))
        return 1;
    SelectChosenCodePage(settings);
    messages.SetTitle(QString::fromStdString(resources.LoadString(res::IDS_APP_TITLE)));

    CMemorixApp app(AppServices{messages, resources, settings, CatalogueLocation()});
    CMainFrame frame(app, resources);
    messages.SetParent(&frame);
    frame.show();

    const QStringList arguments = QApplication::arguments();
    QTimer::singleShot(0, &frame, [&frame, arguments] {
        if (arguments.size() > 1)
            frame.OpenDocument(arguments.at(1).toStdString());
        else
            frame.Commands().Trigger(res::ID_FILE_NEW);
    });
    return QApplication::exec();
}
