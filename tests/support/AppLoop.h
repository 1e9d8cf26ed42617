// The application's message handling in GUI tests (Windows tests).
//
// In this file:
//   UseApplicationLoop       initialises the application and makes the pump
//                            hand each message to it, as its message loop
//                            does (shortcuts, dialog keys and characters)
//   TApplicationEnvironment  a gtest environment that does that once
#pragma once

#include <gtest/gtest.h>

namespace twtest {

void UseApplicationLoop();

class TApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { UseApplicationLoop(); }
};

}  // namespace twtest
