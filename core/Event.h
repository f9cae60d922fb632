#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace arn {

namespace detail {

struct SlotBase;

struct SlotListBase {
    virtual ~SlotListBase() = default;
    virtual void erase(const SlotBase* slot) = 0;
};

struct SlotBase {
    virtual ~SlotBase() = default;
    bool connected = true;
    std::weak_ptr<SlotListBase> owner;
};

}  // namespace detail

// A subscription to an Event. Scoped: destroying or reassigning it unsubscribes, so a member
// that holds the connections of an event source unsubscribes when it is cleared.
class Connection {
  public:
    Connection() = default;
    explicit Connection(std::weak_ptr<detail::SlotBase> slot) : m_slot(std::move(slot)) {}
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Connection(Connection&& other) noexcept : m_slot(std::move(other.m_slot)) {
        other.m_slot.reset();
    }
    Connection& operator=(Connection&& other) noexcept {
        if (this != &other) {
            disconnect();
            m_slot = std::move(other.m_slot);
            other.m_slot.reset();
        }
        return *this;
    }
    ~Connection() { disconnect(); }

    // Safe during a dispatch of the same event: the slot is skipped from then on.
    void disconnect() {
        if (auto slot = m_slot.lock()) {
            slot->connected = false;
            if (auto list = slot->owner.lock()) {
                list->erase(slot.get());
            }
        }
        m_slot.reset();
    }
    bool connected() const {
        auto slot = m_slot.lock();
        return slot && slot->connected;
    }

  private:
    std::weak_ptr<detail::SlotBase> m_slot;
};

// A typed event. Raising it calls every connected slot in connection order, over a snapshot
// taken when the dispatch begins: slots connected meanwhile wait for the next raise, slots
// disconnected meanwhile are skipped. The slot list outlives the Event for the whole dispatch,
// so a handler may destroy the object that raised it (the raiser keeps itself alive).
template <typename... Args>
class Event {
  public:
    using Handler = std::function<void(Args...)>;

    Event() = default;
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    ~Event() {
        for (const auto& slot : m_list->slots) {
            slot->connected = false;
        }
    }

    [[nodiscard]] Connection connect(Handler handler) {
        auto slot = std::make_shared<Slot>();
        slot->handler = std::move(handler);
        slot->owner = m_list;
        m_list->slots.push_back(slot);
        return Connection(slot);
    }

    void operator()(Args... args) const {
        const std::shared_ptr<List> keep = m_list;
        const std::vector<std::shared_ptr<Slot>> snapshot = keep->slots;
        for (const auto& slot : snapshot) {
            if (slot->connected) {
                slot->handler(args...);
            }
        }
    }

    std::size_t slotCount() const { return m_list->slots.size(); }

  private:
    struct Slot : detail::SlotBase {
        Handler handler;
    };
    struct List : detail::SlotListBase {
        std::vector<std::shared_ptr<Slot>> slots;
        void erase(const detail::SlotBase* slot) override {
            std::erase_if(slots, [slot](const auto& s) { return s.get() == slot; });
        }
    };
    std::shared_ptr<List> m_list = std::make_shared<List>();
};

// A member declared "with events": assigning an object subscribes the owner's handlers to it
// (through the binder given at construction); assigning another object or nullptr drops the
// old subscriptions first. Reading goes through get(), -> and bool.
template <class T>
class WithEvents {
  public:
    using Binder = std::function<void(T&, std::vector<Connection>&)>;

    WithEvents() = default;
    explicit WithEvents(Binder binder) : m_binder(std::move(binder)) {}
    WithEvents(const WithEvents&) = delete;
    WithEvents& operator=(const WithEvents&) = delete;

    WithEvents& operator=(std::shared_ptr<T> obj) {
        if (obj == m_obj) {
            return *this;
        }
        m_connections.clear();
        m_obj = std::move(obj);
        if (m_obj && m_binder) {
            m_binder(*m_obj, m_connections);
        }
        return *this;
    }
    WithEvents& operator=(std::nullptr_t) { return *this = std::shared_ptr<T>(); }

    const std::shared_ptr<T>& get() const { return m_obj; }
    T* operator->() const { return m_obj.get(); }
    T& operator*() const { return *m_obj; }
    explicit operator bool() const { return static_cast<bool>(m_obj); }

  private:
    Binder m_binder;
    std::shared_ptr<T> m_obj;
    std::vector<Connection> m_connections;
};

}  // namespace arn
