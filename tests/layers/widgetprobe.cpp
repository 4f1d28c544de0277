// Must not build: a document reaching for a widget by its full Qt name.
#include <QtWidgets/QWidget>
