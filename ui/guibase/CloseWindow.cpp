#include "ui/guibase/CloseWindow.h"

#include <QThread>

void quit_window(QWidget* window)
{
    if (!window) return;
    if (QThread::currentThread() == window->thread()) window->hide();
    window->deleteLater();
}
