#include "sheet/document_model.h"

#include <algorithm>

namespace vorpane {

void DocumentModel::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    notify(DocumentChange::ModifiedMark);
}

int DocumentModel::subscribe(Listener listener)
{
    const int id = m_nextListenerId++;
    m_listeners.emplace_back(id, std::move(listener));
    return id;
}

void DocumentModel::unsubscribe(int id)
{
    for (auto& [listenerId, listener] : m_listeners) {
        if (listenerId == id)
            listener = nullptr;
    }
    // During a notification the entry stays (emptied) until the notification ends.
    if (m_notifying == 0)
        std::erase_if(m_listeners, [](const auto& entry) { return !entry.second; });
}

void DocumentModel::notify(DocumentChange change)
{
    // Listeners added while notifying hear the next change; removed ones are skipped. A listener
    // may notify in turn, so the list is only compacted once the outermost notification ends.
    ++m_notifying;
    const size_t count = m_listeners.size();
    for (size_t i = 0; i < count; ++i) {
        if (m_listeners[i].second) {
            Listener listener = m_listeners[i].second;
            listener(change);
        }
    }
    if (--m_notifying == 0)
        std::erase_if(m_listeners, [](const auto& entry) { return !entry.second; });
}

} // namespace vorpane
