#pragma once
// Documents the desktop asks the application to open: each existing file named on
// the command line becomes an open request '_RRC' to the main window, as from
// another application.

class TBasicApp;

void post_desktop_opens(TBasicApp& app, int argc, char** argv);
