#include "toolkit/SSCommand.h"

#include "toolkit/Picture.h"

namespace arn {

SSCommand::SSCommand(std::string name, int16_t index)
    : CaptionedControl("SSCommand", std::move(name), index) {}

void SSCommand::putref_Picture(std::shared_ptr<Picture> p) {
    Change(m_picture, std::move(p), "Picture");
}

void SSCommand::UserClick() {
    if (!IsUsable()) {
        return;
    }
    auto keep = KeepAlive();
    Click();
}

const PropertyTable& SSCommand::Properties() const {
    static const PropertyTable table{
        CaptionedProperties(),
        {
            Prop("Picture", &SSCommand::get_Picture, &SSCommand::putref_Picture),
        }};
    return table;
}

}  // namespace arn
