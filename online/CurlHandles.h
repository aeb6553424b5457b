#pragma once
// Owners of libcurl's handles: each is released by its own deleter, exactly
// once, whatever way the code leaves.
#include <curl/curl.h>

#include <memory>
#include <new>

namespace orlisk::curl {

struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using Easy = std::unique_ptr<CURL, EasyDeleter>;

struct ShareDeleter {
  void operator()(CURLSH* handle) const { curl_share_cleanup(handle); }
};
using Share = std::unique_ptr<CURLSH, ShareDeleter>;

struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

// curl_slist_append hands back a new head (or null, leaving the list as it was).
inline HeaderList Append(HeaderList list, const char* line) {
  curl_slist* head = curl_slist_append(list.get(), line);
  if (head == nullptr) throw std::bad_alloc();
  (void)list.release();
  return HeaderList(head);
}

}  // namespace orlisk::curl
