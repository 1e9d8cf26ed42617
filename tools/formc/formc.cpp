// Form description compiler: readable text in, compiled resource bytes out.
//
//   formc [-I dir]... [--name NAME] [--depfile FILE] -o OUT.twf SOURCE.form
//
// @file "path" values are looked up as given when absolute, else relative to
// the source's folder and then to each -I folder in order. --name checks that
// the root object's class is the one the program will look the resource up
// by (the upper-case class name). --depfile writes a make-style dependency
// list of the source and every @file it read.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "gui/FormData.h"

namespace fs = std::filesystem;

namespace {

bool ReadFile(const fs::path& p, std::vector<uint8_t>& out) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

std::string Escape(const std::string& s) {
  std::string r;
  for (char c : s) {
    if (c == ' ') r += "\\ ";
    else r += c;
  }
  return r;
}

int Usage() {
  std::cerr << "usage: formc [-I dir]... [--name NAME] [--depfile FILE] -o OUT SOURCE\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> search;
  std::string out, source, name, depfile;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) return std::string();
      return argv[++i];
    };
    if (a == "-I") search.emplace_back(value());
    else if (a == "-o") out = value();
    else if (a == "--name") name = value();
    else if (a == "--depfile") depfile = value();
    else if (!a.empty() && a[0] == '-') return Usage();
    else source = a;
  }
  if (out.empty() || source.empty()) return Usage();

  std::vector<uint8_t> text;
  if (!ReadFile(source, text)) {
    std::cerr << "formc: cannot read " << source << "\n";
    return 1;
  }
  fs::path base = fs::path(source).parent_path();
  std::vector<std::string> deps{fs::absolute(source).string()};
  TFileResolver resolve = [&](const std::wstring& wpath) {
    fs::path p(WideToUtf8(wpath));
    std::vector<fs::path> candidates;
    if (p.is_absolute()) candidates.push_back(p);
    else {
      candidates.push_back(base / p);
      for (const auto& dir : search) candidates.push_back(dir / p);
    }
    for (const auto& c : candidates) {
      std::error_code ec;
      if (!fs::is_regular_file(c, ec)) continue;
      std::vector<uint8_t> bytes;
      if (!ReadFile(c, bytes)) throw EFormError(L"cannot read " + Utf8ToWide(c.string()));
      deps.push_back(fs::absolute(c).string());
      return bytes;
    }
    throw EFormError(L"file not found: " + wpath);
  };

  try {
    std::string utf8(text.begin(), text.end());
    TFormNode root = ParseFormText(Utf8ToWide(utf8), resolve, Utf8ToWide(source));
    if (!name.empty() && WideToUtf8(UpperCase(root.className)) != name) {
      std::cerr << "formc: " << source << ": the root class " << WideToUtf8(root.className)
                << " does not match the resource name " << name << "\n";
      return 1;
    }
    std::vector<uint8_t> bytes = WriteFormBinary(root);
    std::string tmp = out + ".tmp";
    {
      std::ofstream o(tmp, std::ios::binary | std::ios::trunc);
      o.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      if (!o) {
        std::cerr << "formc: cannot write " << out << "\n";
        return 1;
      }
    }
    fs::rename(tmp, out);
    if (!depfile.empty()) {
      std::ofstream d(depfile, std::ios::trunc);
      d << Escape(out) << ":";
      for (const auto& dep : deps) d << " \\\n  " << Escape(dep);
      d << "\n";
    }
  } catch (const Exception& e) {
    std::cerr << "formc: " << WideToUtf8(e.Message()) << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "formc: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
