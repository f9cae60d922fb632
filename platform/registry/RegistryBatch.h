#pragma once

#include <memory>
#include <stdexcept>

#include "platform/registry/RegistryApi.h"
#include "platform/registry/RegistryStore.h"

namespace arn {

// One transaction over the registry store in use: every change made through the registry
// functions while the scope is open is kept by Commit, or dropped when the scope ends without
// it (an exception included). Where the registry is the system's own there is no store and
// no batch.
class RegistryBatch {
  public:
    // Throws std::runtime_error when the registry cannot group changes.
    RegistryBatch() : m_store(RegistryCurrentStore()) {
        if (!m_store || m_store->BeginBatch() != ERROR_SUCCESS) {
            throw std::runtime_error("the registry cannot load all or nothing here");
        }
    }
    ~RegistryBatch() {
        if (m_store) {
            m_store->RollbackBatch();
        }
    }
    RegistryBatch(const RegistryBatch&) = delete;
    RegistryBatch& operator=(const RegistryBatch&) = delete;

    // Keeps every change; throws std::runtime_error (with everything dropped) when the store
    // cannot write them.
    void Commit() {
        const LONG rc = m_store->CommitBatch();
        m_store.reset();
        if (rc != ERROR_SUCCESS) {
            throw std::runtime_error("the registry could not keep the changes (error " +
                                     std::to_string(rc) + ")");
        }
    }

  private:
    std::shared_ptr<RegistryStore> m_store;
};

}  // namespace arn
