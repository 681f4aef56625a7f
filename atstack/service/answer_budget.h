// Lists in one answer stop growing well inside a frame: a lookup in a huge
// world answers what fits, as a real lookup fills the asker's buffer.
#pragma once

#include <cstddef>

#include <nlohmann/json.hpp>

#include "wire.h"

namespace atsvc {

class AnswerBudget {
public:
    // Counts the item; false once the list would no longer fit.
    bool RoomFor(const nlohmann::json& item)
    {
        used_ += item.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).size() + 1;
        return used_ <= kBudget;
    }

    // The items, as `toJson` gives them, as far as they fit.
    template <typename Items, typename ToJson>
    static nlohmann::json List(const Items& items, ToJson toJson)
    {
        AnswerBudget budget;
        nlohmann::json list = nlohmann::json::array();
        for (const auto& i : items) {
            nlohmann::json item = toJson(i);
            if (!budget.RoomFor(item))
                break;
            list.push_back(std::move(item));
        }
        return list;
    }

private:
    static constexpr std::size_t kBudget = atwire::kMaxHead - (64u << 10);
    std::size_t used_ = 0;
};

}  // namespace atsvc
