#include "form1.h"
#include <QApplication>
int main(int argc, char** argv) { QApplication app(argc, argv); Form1 w; w.show(); return app.exec(); }
