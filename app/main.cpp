// telvara: protective coordination curves of overcurrent relays.
#include "app/startup.h"

int main(int argc, char** argv) {
    telvara::TelvaraApplication app(argc, argv);
    return telvara::runTelvara(app);
}
