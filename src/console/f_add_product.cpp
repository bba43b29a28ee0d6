#include "console/f_add_product.h"

#include "console/gateway.h"

namespace plx {

F_ADD_PRODUCT::F_ADD_PRODUCT(Gateway& gateway)
    : form("F_ADD_PRODUCT", "", 6000, 3600),
      LBL_NO(form, "LBL_NO", "Product Number (0001 - 1000):"),
      INP_NO(form, "INP_NO"),
      LBL_IP(form, "LBL_IP", "IP Address:"),
      INP_IP(form, "INP_IP"),
      LBL_TYPE(form, "LBL_TYPE", "Type:"),
      INP_TYPE(form, "INP_TYPE"),
      LBL_DESCRIPTION(form, "LBL_DESCRIPTION", "Description:"),
      INP_DESCRIPTION(form, "INP_DESCRIPTION"),
      B_OK(form, "B_OK"),
      B_CLOSE(form, "B_CLOSE", "&CANCEL"),
      SW_EDIT_SAVE_0(form, "SW_EDIT_SAVE", 0, "SAVE"),
      SW_EDIT_SAVE_1(form, "SW_EDIT_SAVE", 1, "ADD"),
      PIC_DECORATION(form, "PIC_DECORATION", "terminal"),
      gateway_(gateway) {}

}  // namespace plx
