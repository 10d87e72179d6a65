// The main window's accelerator table. The message loop offers every key press to it with the
// main window as the target; the main window passes the text-checker's commands on.
#include "resources/resources.h"

std::vector<ACCEL> main_accelerator_table() {
    return {
        ACCEL{FVIRTKEY | FCONTROL, 'O', IDA_OPEN},
        ACCEL{FVIRTKEY | FCONTROL, 'S', IDA_SAVE},
        ACCEL{FVIRTKEY | FCONTROL, 'F', IDA_FIND_REPLACE},
        ACCEL{FVIRTKEY | FCONTROL, 'R', IDA_FIND_REPLACE},
        ACCEL{FVIRTKEY | FCONTROL | FALT | FSHIFT, VK_F9, IDA_ABOUT},
    };
}
