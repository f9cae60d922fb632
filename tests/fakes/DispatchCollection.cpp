#include "fakes/DispatchCollection.h"
#include "core/ErrorCatalogue.h"

namespace arn {

std::shared_ptr<DispatchCollection> DispatchCollection::Create(
    std::vector<std::shared_ptr<Dispatch>> items) {
    return std::shared_ptr<DispatchCollection>(new DispatchCollection(std::move(items)));
}

std::shared_ptr<Dispatch> DispatchCollection::Item(int32_t position) const {
    if (position < 1 || position > get_Count()) {
        throw MakeError(err::SubscriptOutOfRange, TypeName());
    }
    return m_items[static_cast<size_t>(position - 1)];
}

const MemberTable& DispatchCollection::Members() const {
    static const MemberTable table = [] {
        AutomationMember item;
        item.name = "Item";
        item.kind = VariantKind::Object;
        item.getIndexed = [](const Dispatch& d, int32_t i) {
            return Variant(static_cast<const DispatchCollection&>(d).Item(i));
        };
        return MemberTable{ReadOnlyProp("Count", &DispatchCollection::get_Count), item};
    }();
    return table;
}

}  // namespace arn
