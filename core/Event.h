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

// A typed event. Raising it calls every connected slot in connection order, over the slots
// present when the dispatch begins: slots connected meanwhile wait for the next raise, slots
// disconnected meanwhile are skipped. The slot list outlives the Event for the whole dispatch,
// so a handler may destroy the object that raised it (the raiser keeps itself alive).
//
// A raise allocates nothing: disconnected slots stay in the list, marked, until the outermost
// dispatch ends, so the dispatch can walk the live list by index instead of a copy.
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

    // An exception from a slot ends the dispatch and reaches the raiser, as a handler's error
    // reaches the code whose write raised the event.
    void operator()(Args... args) const {
        Dispatch(
            m_list, [](auto&& call) { call(); }, args...);
    }

    // Delivers the event to every slot even when some fail: each exception a slot lets escape
    // goes to onError (with std::current_exception() available) and the next slot still runs.
    // This is how an event source that has many independent listeners, a net's timer, behaves.
    template <typename OnError>
    void RaiseEach(OnError&& onError, Args... args) const {
        Dispatch(
            m_list,
            [&onError](auto&& call) {
                try {
                    call();
                } catch (...) {
                    onError();
                }
            },
            args...);
    }

    // Connected slots; those disconnected during a running dispatch no longer count.
    std::size_t slotCount() const {
        std::size_t n = 0;
        for (const auto& slot : m_list->slots) {
            n += slot->connected ? 1 : 0;
        }
        return n;
    }

  private:
    struct Slot : detail::SlotBase {
        Handler handler;
    };
    struct List : detail::SlotListBase {
        std::vector<std::shared_ptr<Slot>> slots;
        int dispatching = 0;
        bool pendingErase = false;

        void erase(const detail::SlotBase* slot) override {
            if (dispatching > 0) {
                pendingErase = true;  // marked disconnected; removed when the dispatch ends
                return;
            }
            std::erase_if(slots, [slot](const auto& s) { return s.get() == slot; });
        }
        void compact() {
            pendingErase = false;
            std::erase_if(slots, [](const auto& s) { return !s->connected; });
        }
    };

    template <typename Guard>
    static void Dispatch(const std::shared_ptr<List>& list, Guard&& guard, Args&... args) {
        // Holding the list (a reference count, not an allocation) keeps the slots alive if the
        // Event goes away in a handler.
        const std::shared_ptr<List> keep = list;
        struct Depth {
            List& l;
            explicit Depth(List& list) : l(list) { ++l.dispatching; }
            ~Depth() {
                if (--l.dispatching == 0 && l.pendingErase) {
                    l.compact();
                }
            }
        } depth(*keep);
        const std::size_t count = keep->slots.size();
        for (std::size_t i = 0; i < count; ++i) {
            // Slots are only removed once no dispatch runs, so index i is still the slot it
            // was at the start; a slot connected meanwhile may move the vector, not the slot.
            Slot* slot = keep->slots[i].get();
            if (slot->connected) {
                guard([&] { slot->handler(args...); });
            }
        }
    }

    std::shared_ptr<List> m_list = std::make_shared<List>();
};

// A subscription kept somewhere other than an Event, such as one advised through a component
// runtime. Whoever holds the subscription keeps this object alive (through a shared_ptr) for as
// long as it exists; the connection from Connect runs undo once when it disconnects, and does
// nothing once this object is gone.
class HeldSubscription : public detail::SlotListBase,
                         public std::enable_shared_from_this<HeldSubscription> {
  public:
    explicit HeldSubscription(std::function<void()> undo) : m_undo(std::move(undo)) {}

    // The one connection of this subscription.
    Connection Connect() {
        m_slot->owner = weak_from_this();
        return Connection(m_slot);
    }

    void erase(const detail::SlotBase*) override {
        m_slot->connected = false;
        if (auto undo = std::exchange(m_undo, nullptr)) {
            undo();
        }
    }

  private:
    std::function<void()> m_undo;
    std::shared_ptr<detail::SlotBase> m_slot = std::make_shared<detail::SlotBase>();
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
