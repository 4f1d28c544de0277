#pragma once

class QApplication;

// One look for every editor: the Fusion style and a proportional Japanese Gothic font at the size
// the fixed control positions were laid out for.
void applySuiteLook(QApplication& app);
