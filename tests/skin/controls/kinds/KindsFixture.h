// A shown form on top of everything and a test frame, for the kind tests.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "gui/Forms.h"
#include "tests/skin/controls/support/TestFrame.h"
#include "tests/support/Pump.h"

namespace skintest {

class KindsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool initialized = (Application->Initialize(), true);
    (void)initialized;
    form = new TForm(Application);
    form->SetBounds(40, 40, 520, 320);
    form->Show();
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    frame = std::make_unique<TTestFrame>(form->Handle());
  }
  void TearDown() override {
    frame.reset();
    TComponent::Free(form);
    twtest::PumpPending();
  }

  TForm* form = nullptr;
  std::unique_ptr<TTestFrame> frame;
};

// Counts OnClick events.
struct ClickCounter {
  int count = 0;
  void Click(TObject*) { ++count; }
};

}  // namespace skintest
