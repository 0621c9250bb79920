#include "core/DocumentList.h"

namespace lumaplot {

TDocumentList::~TDocumentList() { Clear(); }

TStageData* TDocumentList::At(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return documents_[static_cast<size_t>(index)].get();
}

int TDocumentList::IndexOf(const TStageData* doc) const {
  if (doc == nullptr) return -1;
  for (int i = 0; i < Count(); ++i) {
    if (documents_[static_cast<size_t>(i)].get() == doc) return i;
  }
  return -1;
}

TStageData* TDocumentList::Add(std::unique_ptr<TStageData> doc) {
  if (!doc || Full()) return nullptr;
  TStageData* added = doc.get();
  documents_.push_back(std::move(doc));
  if (listener_) listener_->DocumentAdded(Count() - 1);
  return added;
}

void TDocumentList::Remove(TStageData* doc) {
  const int index = IndexOf(doc);
  if (index < 0) return;
  std::unique_ptr<TStageData> removed;
  {
    // The engine thread may be writing the document's levels right now.
    std::lock_guard lock(LevelLock);
    removed = std::move(documents_[static_cast<size_t>(index)]);
    documents_.erase(documents_.begin() + index);
    current_ = documents_.empty() ? nullptr : documents_.front().get();
    ++currentSerial_;
    removed.reset();
  }
  if (listener_) {
    listener_->DocumentRemoved(index);
    listener_->CurrentChanged();
  }
}

bool TDocumentList::SetCurrent(int index) {
  TStageData* doc = At(index);
  if (!doc) return false;
  ChangeCurrent(doc);
  return true;
}

void TDocumentList::Clear() {
  std::lock_guard lock(LevelLock);
  current_ = nullptr;
  ++currentSerial_;
  documents_.clear();
}

void TDocumentList::ChangeCurrent(TStageData* doc) {
  {
    std::lock_guard lock(LevelLock);
    current_ = doc;
    ++currentSerial_;
  }
  if (listener_) listener_->CurrentChanged();
}

}  // namespace lumaplot
