#pragma once
// TStopSignals: SIGTERM and SIGHUP (a logout, a shutdown, `kill`) delivered as a Qt
// signal on the GUI thread, so the program can close as an exit does instead of
// dying with its state unwritten. The handler only writes a byte to a pipe that a
// socket notifier watches. One instance at a time; the destructor puts the previous
// handlers back. GUI thread only.
#include <QObject>

#include <csignal>

class QSocketNotifier;

namespace lumaplot {

class TStopSignals : public QObject {
  Q_OBJECT

 public:
  explicit TStopSignals(QObject* parent = nullptr);
  ~TStopSignals() override;
  TStopSignals(const TStopSignals&) = delete;
  TStopSignals& operator=(const TStopSignals&) = delete;

 signals:
  // Emitted once per signal that arrived.
  void Received(int signal);

 private:
  static void Handle(int signal);
  void ReadPipe();

  QSocketNotifier* notifier_ = nullptr;
  struct sigaction oldTerm_ {};
  struct sigaction oldHup_ {};
};

}  // namespace lumaplot
