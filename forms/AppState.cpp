#include "forms/AppState.h"

#include "forms/MainWindow.h"

MainWindowRequests* AppState::mainWindowRequests() const
{
    return mainWindow.data();
}
