#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Dispatch.h"
#include "core/Event.h"

namespace arn {

// A minimal top-level window: a name, a caption and whether it is shown. Hosts list the
// windows a panel opens (its forms) and show them on request.
class Form : public Dispatch {
  public:
    explicit Form(std::string name, std::string caption = {});

    std::string TypeName() const override { return "Form"; }
    std::string get_Name() const { return m_name; }
    std::string get_Caption() const { return m_caption; }
    void put_Caption(std::string v);
    bool get_Visible() const { return m_visible; }
    void put_Visible(bool v);
    void Show() { put_Visible(true); }
    void Hide() { put_Visible(false); }

    Event<std::string_view> PropertyChanged;

  protected:
    const MemberTable& Members() const override;

  private:
    std::string m_name;
    std::string m_caption;
    bool m_visible = false;
};

}  // namespace arn
