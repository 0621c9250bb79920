#pragma once
// A serial port for tests: set the lines a switch would show, see what was asked.
#include <string>

#include "util/ModemLines.h"

namespace lumaplot::test {

class FakeModemLines final : public ModemLines {
 public:
  // What the test controls.
  bool OpenFails = false;
  bool ReadFails = false;
  ModemStatus Lines;
  // What the code under test did.
  std::string OpenedDevice;
  int RtsRaised = 0;
  int Reads = 0;

  bool Open(const std::string& device, std::string* error = nullptr) override {
    Close();
    if (OpenFails) {
      if (error) *error = "cannot open " + device;
      return false;
    }
    OpenedDevice = device;
    open_ = true;
    return true;
  }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  bool RaiseRts(std::string* error = nullptr) override {
    if (!open_) {
      if (error) *error = "port closed";
      return false;
    }
    ++RtsRaised;
    return true;
  }
  bool ReadStatus(ModemStatus& status, std::string* error = nullptr) override {
    ++Reads;
    if (!open_ || ReadFails) {
      if (error) *error = "cannot read";
      return false;
    }
    status = Lines;
    return true;
  }

 private:
  bool open_ = false;
};

}  // namespace lumaplot::test
