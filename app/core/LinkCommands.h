#pragma once
// Help and links: the maker's web pages opened in the user's browser.
#include "Seams.h"

namespace orlisk {

class LinkCommands {
 public:
  struct Context {
    DesktopShell& Desktop;
  };
  explicit LinkCommands(Context context) : c_(context) {}

  void OpenContactPage();  // ContactUS1
  void OpenWebSite();      // OurWebSite1

 private:
  Context c_;
};

}  // namespace orlisk
