#include "tests/support/AppLoop.h"

#include "gui/Forms.h"
#include "tests/support/Pump.h"

namespace twtest {

void UseApplicationLoop() {
  Application->Initialize();
  SetPumpDispatcher([](MSG& msg) { Application->Dispatch(msg); });
}

}  // namespace twtest
