#pragma once
// taotu-cli shop: the shop link collector's 获取 on each address, into one
// list, printed one link per line.
#include <string>
#include <vector>

namespace taotu::cli {

struct ShopRequest {
  std::vector<std::string> addresses;  // UTF-8, as given
};

// Walks every shop; the exit status: 0 done, 1 a shop's page count did not
// come ("网络超时，请重试！"), 2 an address refused (nothing fetched).
int RunShop(const ShopRequest& request);

}  // namespace taotu::cli
