// The registry lists loaded from a validated registry file: five lists of
// fixed-length entries of trimmed Windows-1252 texts, addressed from 0.
// A list that received no record holds one empty entry (no texts).
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <initializer_list>
#include <iterator>
#include <span>

namespace tarquelas {

// One entry of a registry list: a fixed number of trimmed texts. A large
// registry holds hundreds of thousands of entries, so each keeps its texts
// in one shared buffer; copies are cheap and never change each other.
class Entry {
 public:
  Entry() = default;
  // count empty texts.
  explicit Entry(qsizetype count);
  explicit Entry(std::span<const QByteArrayView> texts);
  explicit Entry(const QList<QByteArray>& texts);
  Entry(std::initializer_list<QByteArrayView> texts) : Entry(std::span(texts.begin(), texts.size())) {}

  qsizetype size() const;
  bool isEmpty() const { return size() == 0; }
  // Text i, 0 <= i < size(); the view lives as long as the entry.
  QByteArrayView operator[](qsizetype i) const;
  // Text i, or an empty text when the entry has no text i.
  QByteArrayView value(qsizetype i) const { return i >= 0 && i < size() ? (*this)[i] : QByteArrayView(); }

  // Walks the texts as copies.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = QByteArray;
    using difference_type = qsizetype;
    using pointer = void;
    using reference = QByteArray;
    const_iterator() = default;
    const_iterator(const Entry* entry, qsizetype i) : entry_(entry), i_(i) {}
    QByteArray operator*() const { return (*entry_)[i_].toByteArray(); }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    const_iterator operator++(int) { return {entry_, i_++}; }
    bool operator==(const const_iterator&) const = default;

   private:
    const Entry* entry_ = nullptr;
    qsizetype i_ = 0;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  friend bool operator==(const Entry& a, const Entry& b) { return a.data_ == b.data_; }

 private:
  // The number of texts, the end of each text, then the texts themselves.
  QByteArray data_;
};

// Texts per entry of each list.
inline constexpr int kTextosAdministracion = 11;
inline constexpr int kTextosConsorcio = 13;
inline constexpr int kTextosTrabajador = 20;
inline constexpr int kTextosBeneficiario = 8;
inline constexpr int kTextosRelacion = 2;

// A default Registry is the one of a file without records: every list
// holds its one empty entry.
struct Registry {
  QList<Entry> aAdministraciones{Entry{}};  // 11 texts per entry
  QList<Entry> aConsorcios{Entry{}};        // 13
  QList<Entry> aTrabajadores{Entry{}};      // 20
  QList<Entry> aBeneficiarios{Entry{}};     // 8
  QList<Entry> aRelaciones{Entry{}};        // 2
};

// The empty entry of a list without records takes part in nothing.
inline bool esEntradaVacia(const Entry& entry) { return entry.isEmpty(); }

}  // namespace tarquelas
