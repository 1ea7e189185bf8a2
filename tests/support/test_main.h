#pragma once

#include <QObject>
#include <functional>
#include <vector>

// One executable runs every test class registered in it.
namespace TestRegistry {
using Factory = std::function<QObject*()>;
std::vector<std::pair<const char*, Factory>>& all();
struct Add {
    Add(const char* name, Factory f) { all().emplace_back(name, std::move(f)); }
};
}  // namespace TestRegistry

#define VELN_TEST(Class) static TestRegistry::Add registered_##Class(#Class, [] { return new Class; });
