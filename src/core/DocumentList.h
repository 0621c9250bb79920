#pragma once
// TDocumentList: the open plots of the program, at most kMaxDocuments, in tab order,
// and which of them is current (CurrentDoc, or none).
//
// Ownership: the list owns its documents; Remove and Clear destroy them.
// Threads: only the GUI thread changes the list. The level intake reads the current
// document on the engine thread while holding LevelLock, so the current document
// changes, and documents are destroyed, only with LevelLock held; the list does that
// itself. A listener (the main window's tabs) hears of every change after it happened.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "model/StageData.h"

namespace lumaplot {

class TDocumentList {
 public:
  static constexpr int kMaxDocuments = 20;

  // What the main window's tabs follow. Called on the GUI thread, after the change.
  class Listener {
   public:
    virtual ~Listener() = default;
    virtual void DocumentAdded(int index) = 0;
    virtual void DocumentRemoved(int index) = 0;
    virtual void CurrentChanged() = 0;
  };

  TDocumentList() = default;
  ~TDocumentList();
  TDocumentList(const TDocumentList&) = delete;
  TDocumentList& operator=(const TDocumentList&) = delete;

  // Held around every read or write of a document's level buffers and around every
  // change of the current document or destruction of a document.
  std::mutex LevelLock;

  void SetListener(Listener* listener) { listener_ = listener; }

  int Count() const { return static_cast<int>(documents_.size()); }
  bool Full() const { return Count() >= kMaxDocuments; }
  // Documents[index], or none outside the list.
  TStageData* At(int index) const;
  int IndexOf(const TStageData* doc) const;
  TStageData* Current() const { return current_; }
  int CurrentIndex() const { return IndexOf(current_); }
  // Changes whenever another document becomes current (also one at the address of a
  // destroyed one); read with LevelLock held or on the GUI thread.
  uint64_t CurrentSerial() const { return currentSerial_; }

  // Appends `doc` (not made current); none when the list is full.
  TStageData* Add(std::unique_ptr<TStageData> doc);
  // Destroys `doc`; the first remaining document becomes current (none when empty).
  void Remove(TStageData* doc);
  // Makes Documents[index] current; false (nothing changes) outside the list.
  bool SetCurrent(int index);
  // Destroys every document; none is current.
  void Clear();

 private:
  void ChangeCurrent(TStageData* doc);

  std::vector<std::unique_ptr<TStageData>> documents_;
  TStageData* current_ = nullptr;
  uint64_t currentSerial_ = 0;
  Listener* listener_ = nullptr;
};

}  // namespace lumaplot
