#pragma once
// The modem-status lines of a serial port, used as a four-way document switch:
// switches wired from RTS to CTS, DSR, RI and CD choose documents 1 … 4. ModemLines
// is the interface the main window polls; SerialModemLines drives a real port
// (/dev/ttyS0 by default, standing for COM1), tests use a fake. Not thread safe: the
// GUI thread owns the object. A port that cannot be opened or read only makes the
// calls return false; nothing blocks.
#include <string>

namespace lumaplot {

inline constexpr const char* kDefaultCom1Device = "/dev/ttyS0";

struct ModemStatus {
  bool Cts = false;   // clear to send
  bool Dsr = false;   // data set ready
  bool Ring = false;  // ring indicator (RI)
  bool Rlsd = false;  // receive line signal detect (CD)
  bool operator==(const ModemStatus&) const = default;
};

class ModemLines {
 public:
  virtual ~ModemLines() = default;
  // Opens `device` exclusively, closing a port opened before. False with the reason
  // in `error` when it does not exist, is busy or is not a terminal device.
  virtual bool Open(const std::string& device, std::string* error = nullptr) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // Raises RTS, the line the switches take their signal from.
  virtual bool RaiseRts(std::string* error = nullptr) = 0;
  // Reads the four input lines; false when the port is not open or cannot be read.
  virtual bool ReadStatus(ModemStatus& status, std::string* error = nullptr) = 0;
};

class SerialModemLines final : public ModemLines {
 public:
  SerialModemLines() = default;
  ~SerialModemLines() override;
  SerialModemLines(const SerialModemLines&) = delete;
  SerialModemLines& operator=(const SerialModemLines&) = delete;

  bool Open(const std::string& device, std::string* error = nullptr) override;
  void Close() override;
  bool IsOpen() const override { return fd_ >= 0; }
  bool RaiseRts(std::string* error = nullptr) override;
  bool ReadStatus(ModemStatus& status, std::string* error = nullptr) override;

 private:
  int fd_ = -1;
  std::string device_;
};

}  // namespace lumaplot
