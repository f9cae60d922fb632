#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"
#include "core/Event.h"

namespace arn {

// A group of like controls sharing one name, addressed by index. Indexes need not be
// contiguous (a group may hold 0..3, 5 and 7, or only 4); iteration runs in index order.
template <class T>
class ControlGroup {
  public:
    explicit ControlGroup(std::string name) : m_name(std::move(name)) {}
    ControlGroup(const ControlGroup&) = delete;
    ControlGroup& operator=(const ControlGroup&) = delete;

    const std::string& get_Name() const { return m_name; }

    // Adds an element under its own index; the index must be free and the name the group's.
    void Add(std::shared_ptr<T> element) {
        int16_t index = element->get_Index();
        if (index < 0 || element->get_Name() != m_name || Exists(index)) {
            throw ArnError(err::ObjectAlreadyLoaded.number, m_name,
                           "Object already loaded or not an element of " + m_name + ": " +
                               element->get_Name() + "(" + std::to_string(index) + ")");
        }
        auto pos = std::lower_bound(m_elements.begin(), m_elements.end(), index,
                                    [](const auto& e, int16_t i) { return e->get_Index() < i; });
        m_elements.insert(pos, std::move(element));
    }

    // The element of that index; a hole raises error 340.
    T& operator()(int16_t index) const { return *Item(index); }
    std::shared_ptr<T> Item(int16_t index) const {
        for (const auto& e : m_elements) {
            if (e->get_Index() == index) {
                return e;
            }
        }
        throw ElementDoesNotExistError(index, m_name);
    }
    bool Exists(int16_t index) const {
        return std::any_of(m_elements.begin(), m_elements.end(),
                           [index](const auto& e) { return e->get_Index() == index; });
    }

    std::vector<int16_t> Indices() const {
        std::vector<int16_t> indices;
        indices.reserve(m_elements.size());
        for (const auto& e : m_elements) {
            indices.push_back(e->get_Index());
        }
        return indices;
    }
    std::size_t Count() const { return m_elements.size(); }
    int16_t LBound() const { return m_elements.empty() ? 0 : m_elements.front()->get_Index(); }
    int16_t UBound() const { return m_elements.empty() ? -1 : m_elements.back()->get_Index(); }

    auto begin() const { return m_elements.begin(); }
    auto end() const { return m_elements.end(); }

    // Subscribes one handler to the same event of every element; the handler receives the
    // element's index first, then the event's arguments, as a group's event procedure does.
    template <class... Args, class Handler>
    std::vector<Connection> ConnectEach(Event<Args...> T::*event, Handler handler) const {
        std::vector<Connection> connections;
        for (const auto& e : m_elements) {
            int16_t index = e->get_Index();
            connections.push_back(
                ((*e).*event).connect([index, handler](Args... args) { handler(index, args...); }));
        }
        return connections;
    }

  private:
    std::string m_name;
    std::vector<std::shared_ptr<T>> m_elements;
};

}  // namespace arn
