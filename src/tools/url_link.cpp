#include "tools/url_link.h"

namespace plx {

URLLink::URLLink(Form& form, std::string name, Platform& platform)
    : LinkLabel(form, std::move(name)), platform_(platform) {}

}  // namespace plx
