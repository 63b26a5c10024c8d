// The bridge's whole surface: every native method LocalIface declares is exported under its JNI
// name, and every exported Java_ function belongs to a declared method.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <set>

#include "core/declarations.h"
#include "harness/jvm.h"
#include "method_layouts.h"

using namespace tj;

namespace {

// The JNI short name of a method of Norv1.LocalIface.
std::string jni_name(const std::string& method) {
  std::string out = "Java_Norv1_LocalIface_";
  for (char c : method) {
    if (c == '_')
      out += "_1";
    else
      out += c;
  }
  return out;
}

std::set<std::string> declared() {
  JNIEnv* e = env();
  jclass reflect = cls("tvtest/Reflect");
  jmethodID m = e->GetStaticMethodID(reflect, "nativeMethods", "()[Ljava/lang/String;");
  auto names = static_cast<jobjectArray>(e->CallStaticObjectMethod(reflect, m));
  EXPECT_FALSE(e->ExceptionCheck());
  std::set<std::string> out;
  for (jsize i = 0; names && i < e->GetArrayLength(names); ++i) {
    auto name = static_cast<jstring>(e->GetObjectArrayElement(names, i));
    out.insert(jni_name(utf8(name).value_or("")));
    e->DeleteLocalRef(name);
  }
  return out;
}

std::set<std::string> exported() {
  std::string command = std::string("nm -D --defined-only ") + TVJ_LIB_DIR "/libtarvexjni.so";
  FILE* nm = popen(command.c_str(), "r");
  EXPECT_NE(nm, nullptr);
  std::set<std::string> out;
  if (nm == nullptr) return out;
  char line[1024];
  while (std::fgets(line, sizeof line, nm) != nullptr) {
    char symbol[1024];
    if (std::sscanf(line, "%*s %*s %1023s", symbol) == 1 &&
        std::string(symbol).rfind("Java_", 0) == 0)
      out.insert(symbol);
  }
  EXPECT_EQ(pclose(nm), 0) << command;
  return out;
}

std::vector<std::string> minus(const std::set<std::string>& a, const std::set<std::string>& b) {
  std::vector<std::string> out;
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
  return out;
}

class Surface : public BridgeTest {};

TEST_F(Surface, EveryDeclaredMethodIsExportedAndEveryExportIsDeclared) {
  std::set<std::string> java = declared();
  std::set<std::string> library = exported();
  std::set<std::string> built;  // the methods the bridge was compiled against
  for (std::string_view op : layouts::kNativeMethods)
    built.insert(jni_name("QUMENJNI_" + std::string(op)));
  EXPECT_EQ(java, built);
  EXPECT_EQ(minus(java, library), std::vector<std::string>{}) << "declared but not exported";
  EXPECT_EQ(minus(library, java), std::vector<std::string>{}) << "exported but not declared";
}

// The bridge takes a final block class as known only where its host declares every method as
// the bridge implements it; any other declaration, and it asks every object its class.
TEST_F(Surface, OnlyAHostDeclaredAsTheBridgeImplementsItIsTrusted) {
  EXPECT_EQ(tvj::kDeclarationCount, declared().size());
  for (size_t i = 0; i < tvj::kDeclarationCount; ++i) {
    std::string op = std::string(tvj::kDeclarations[i].name).substr(std::strlen("QUMENJNI_"));
    EXPECT_EQ(method_descriptor(op.c_str()), tvj::kDeclarations[i].descriptor) << op;
  }
  const std::pair<const char*, bool> hosts[] = {{"Norv1/LocalIface", true},
                                                {"tvtest/Hosts$Partial", true},
                                                {"tvtest/Hosts$Wider", false},
                                                {"tvtest/Hosts$Overloaded", false},
                                                {"tvtest/Hosts$Foreign", false}};
  for (const auto& [host, exact] : hosts) {
    EXPECT_EQ(tvj::declares_exactly(env(), cls(host)), exact) << host;
    // JVMTI, which the check asks first, and reflection, where a VM has no JVMTI, agree
    EXPECT_EQ(tvj::tool_declares_exactly(env(), cls(host)), exact ? 1 : 0) << host;
    EXPECT_EQ(tvj::reflection_declares_exactly(env(), cls(host)), exact) << host;
  }
  EXPECT_FALSE(env()->ExceptionCheck());
}

// What the frame converts as a block is declared as one: each input (I) and output (O) block of
// a layout is a mem_blk_t parameter of the method.
TEST_F(Surface, EveryBlockOfALayoutIsDeclaredAsABlock) {
  auto check = [](const char* op, const std::string& layout) {
    std::string desc = method_descriptor(op);
    std::vector<std::string> params;
    for (size_t i = desc.find(';') + 1; i < desc.size() && desc[i] != ')';) {  // after self
      size_t start = i;
      while (desc[i] == '[') ++i;
      i = desc[i] == 'L' ? desc.find(';', i) + 1 : i + 1;
      params.push_back(desc.substr(start, i - start));
    }
    ASSERT_EQ(params.size(), layout.size()) << op;
    for (size_t k = 0; k < layout.size(); ++k) {
      bool block = params[k] == "LNorv1/LocalIface$mem_blk_t;";
      if (layout[k] == 'I' || layout[k] == 'O') {
        EXPECT_TRUE(block) << op << " parameter " << k;
      }
    }
  };
#define TVJ_CHECK_LAYOUT(op, layout) check(#op, layout);
  TVJ_FRAME_METHODS(TVJ_CHECK_LAYOUT)
#undef TVJ_CHECK_LAYOUT
}

// tarvexjni-open.jar is the shipped host with every nested class made not final: the same
// classes, none of them final (the build strips the modifier from the source text, which must
// not miss a class however its modifiers are written).
TEST_F(Surface, TheOpenHostHasTheShippedClassesNoneOfThemFinal) {
  auto nested = [](const char* jar) {
    JNIEnv* e = env();
    jclass reflect = cls("tvtest/Reflect");
    jmethodID m =
        e->GetStaticMethodID(reflect, "nestedClasses", "(Ljava/lang/String;)[Ljava/lang/String;");
    jstring path = str(jar);
    auto names = static_cast<jobjectArray>(e->CallStaticObjectMethod(reflect, m, path));
    EXPECT_FALSE(e->ExceptionCheck()) << jar;
    std::vector<std::string> out;
    for (jsize i = 0; names && i < e->GetArrayLength(names); ++i) {
      auto name = static_cast<jstring>(e->GetObjectArrayElement(names, i));
      out.push_back(utf8(name).value_or(""));
      e->DeleteLocalRef(name);
    }
    e->DeleteLocalRef(path);
    if (names) e->DeleteLocalRef(names);
    return out;
  };
  std::vector<std::string> shipped = nested(TVJ_JAR);
  std::vector<std::string> open = nested(TVJ_OPEN_JAR);
  ASSERT_FALSE(shipped.empty());
  std::vector<std::string> expected;
  for (const std::string& name : shipped) {
    EXPECT_TRUE(name.ends_with(" final")) << name << " in the shipped jar";
    expected.push_back(name.substr(0, name.find(' ')));
  }
  EXPECT_EQ(open, expected);
}

}  // namespace
