#include "template_tree.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// splitmix64: small, fast and the same everywhere.
class Random {
 public:
  explicit Random(uint64_t seed) : m_state(seed) {}
  uint64_t next() {
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint32_t below(uint32_t limit) { return static_cast<uint32_t>(next() % limit); }
  double unit() { return (next() >> 11) * (1.0 / 9007199254740992.0); }
  double normal() {
    const double u1 = unit() + 1e-12;
    const double u2 = unit();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
  }

 private:
  uint64_t m_state;
};

const char* const kSyllables[] = {
    "ac",   "co",   "un", "ta",    "re",    "gis",   "ter", "do",   "cu",    "ment", "pro",  "duct",
    "sa",   "le",   "or", "der",   "price", "li",    "st",  "ware", "house", "em",   "ploy", "ee",
    "bank", "cash", "in", "voice", "item",  "stock", "tax", "rate", "form",  "field"};
const char* const kWords[] = {"Amount",       "Date",         "Number",   "Posted",   "Comment",
                              "Company",      "Counterparty", "Contract", "Currency", "Quantity",
                              "Warehouse",    "Responsible",  "Author",   "Status",   "Total",
                              "Discount",     "Period",       "Balance",  "Account",  "Subconto",
                              "Presentation", "Owner"};

std::string identifier(Random& random) {
  std::string name;
  const uint32_t parts = 2 + random.below(3);
  for (uint32_t i = 0; i < parts; ++i) {
    std::string part = kSyllables[random.below(sizeof kSyllables / sizeof *kSyllables)];
    if (i == 0 || random.below(2) == 0) part[0] = static_cast<char>(part[0] - 'a' + 'A');
    name += part;
  }
  return name;
}

std::string uuid(Random& random) {
  char text[40];
  const uint64_t a = random.next();
  const uint64_t b = random.next();
  std::snprintf(text, sizeof text, "%08x-%04x-%04x-%04x-%012llx", static_cast<unsigned>(a),
                static_cast<unsigned>(a >> 32) & 0xFFFF, static_cast<unsigned>(a >> 48),
                static_cast<unsigned>(b) & 0xFFFF,
                static_cast<unsigned long long>(b >> 16) & 0xFFFFFFFFFFFFull);
  return text;
}

std::string phrase(Random& random, const std::vector<std::string>& keys) {
  std::string text = kWords[random.below(sizeof kWords / sizeof *kWords)];
  const uint32_t extra = random.below(4);
  for (uint32_t i = 0; i < extra; ++i) {
    text += ' ';
    text += random.below(3) == 0 ? keys[random.below(static_cast<uint32_t>(keys.size()))]
                                 : kWords[random.below(sizeof kWords / sizeof *kWords)];
  }
  return text;
}

// Each text file draws on its own small set of keys, so that it repeats
// itself as real templates do.
std::vector<std::string> file_keys(Random& random) {
  std::vector<std::string> keys(8 + random.below(40));
  for (std::string& key : keys) key = identifier(random);
  return keys;
}

void xml_text(Random& random, size_t size, std::string& out) {
  const std::vector<std::string> keys = file_keys(random);
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<MetaDataObject version=\"2.14\">\n";
  out += "\t<Form uuid=\"" + uuid(random) + "\">\n";
  while (out.size() < size) {
    const std::string& key = keys[random.below(static_cast<uint32_t>(keys.size()))];
    out += "\t\t<Attribute name=\"" + key + "\" id=\"" + std::to_string(random.below(4000)) +
           "\">\n\t\t\t<Type>\n\t\t\t\t<v8:Type>cfg:CatalogRef." +
           keys[random.below(static_cast<uint32_t>(keys.size()))] + "</v8:Type>\n\t\t\t</Type>\n";
    out +=
        "\t\t\t<Title>\n\t\t\t\t<v8:item>\n\t\t\t\t\t<v8:lang>en</v8:lang>\n"
        "\t\t\t\t\t<v8:content>" +
        phrase(random, keys) + "</v8:content>\n\t\t\t\t</v8:item>\n\t\t\t</Title>\n";
    out += "\t\t\t<Ref>" + uuid(random) + "</Ref>\n\t\t\t<Position x=\"" +
           std::to_string(random.below(2000)) + "\" y=\"" + std::to_string(random.below(2000)) +
           "\"/>\n";
    out += "\t\t\t<FillChecking>" + std::string(random.below(2) ? "ShowError" : "DontCheck") +
           "</FillChecking>\n\t\t</Attribute>\n";
  }
  out += "\t</Form>\n</MetaDataObject>\n";
}

void properties_text(Random& random, size_t size, std::string& out) {
  const std::vector<std::string> keys = file_keys(random);
  out += "# generated settings\n";
  while (out.size() < size) {
    out += keys[random.below(static_cast<uint32_t>(keys.size()))] + "." +
           keys[random.below(static_cast<uint32_t>(keys.size()))] + "=" + phrase(random, keys);
    if (random.below(3) == 0) out += " " + std::to_string(random.below(100000));
    out += '\n';
  }
}

void json_text(Random& random, size_t size, std::string& out) {
  const std::vector<std::string> keys = file_keys(random);
  out += "{\n  \"items\": [\n";
  while (out.size() < size) {
    out += "    {\"" + keys[random.below(static_cast<uint32_t>(keys.size()))] + "\": \"" +
           phrase(random, keys) + "\", \"" +
           keys[random.below(static_cast<uint32_t>(keys.size()))] +
           "\": " + std::to_string(random.below(100000)) +
           ", \"enabled\": " + (random.below(2) ? "true" : "false");
    if (random.below(5) == 0) out += ", \"ref\": \"" + uuid(random) + "\"";
    out += "},\n";
  }
  out += "    {}\n  ]\n}\n";
}

// Pictures and packed resources: a random (incompressible) body with
// repetitive stretches.
void binary_blob(Random& random, size_t size, std::string& out) {
  while (out.size() < size) {
    const uint64_t value = random.next();
    if (random.below(4) == 0) {
      out.append(64, static_cast<char>(value));
    } else {
      out.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
  }
}

std::string make_directories(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    if (mkdir(path.substr(0, slash).c_str(), 0755) != 0 && errno != EEXIST) {
      return "cannot create " + path.substr(0, slash) + ": " + std::strerror(errno);
    }
  }
  if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) {
    return "cannot create " + path + ": " + std::strerror(errno);
  }
  return std::string();
}

}  // namespace

std::string generate_template_tree(const std::string& root, const TreeShape& shape,
                                   uint64_t& written) {
  written = 0;
  Random random(shape.seed);
  // Log-normal sizes with sigma 1.3; mu follows from the wanted mean.
  const double sigma = 1.3;
  const double mean = static_cast<double>(shape.totalBytes) / shape.files;
  const double mu = std::log(mean) - sigma * sigma / 2;

  // Directories: a few top folders, each with sub-folders two or three
  // levels deep.
  std::vector<std::string> directories;
  for (uint32_t top = 0; top < 12; ++top) {
    const std::string topName = identifier(random) + "s";
    for (uint32_t middle = 0; middle < 1 + random.below(20); ++middle) {
      std::string path = topName + "/" + identifier(random);
      directories.push_back(path);
      for (uint32_t deeper = random.below(3); deeper > 0; --deeper) {
        path += "/" + std::string(deeper % 2 ? "Forms" : "Templates");
        directories.push_back(path);
      }
    }
  }

  std::string content;
  for (uint32_t index = 0; index < shape.files; ++index) {
    const std::string& directory =
        directories[random.below(static_cast<uint32_t>(directories.size()))];
    const double drawn = std::exp(mu + sigma * random.normal());
    const size_t size = static_cast<size_t>(std::min(drawn, 64.0 * mean));
    const uint32_t kind = random.below(100);
    std::string name = identifier(random) + "_" + std::to_string(index);
    content.clear();
    if (kind < 55) {
      xml_text(random, size, content);
      name += ".xml";
    } else if (kind < 75) {
      json_text(random, size, content);
      name += ".json";
    } else if (kind < 93) {
      properties_text(random, size, content);
      name += ".properties";
    } else {
      binary_blob(random, size, content);
      name += ".bin";
    }
    const std::string folder = root + "/" + directory;
    std::string error = make_directories(folder);
    if (!error.empty()) return error;
    const std::string path = folder + "/" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return "cannot create " + path + ": " + std::strerror(errno);
    const size_t done = std::fwrite(content.data(), 1, content.size(), file);
    if (std::fclose(file) != 0 || done != content.size()) return "cannot write " + path;
    written += content.size();
  }
  return std::string();
}
