#include "libs/mondata/formats/openfoam/FoamSolverGroups.h"

#include <cstddef>

namespace mon {

namespace {
// fits[i * (m + 1) + j]: whether row groups i.. can be placed, in order, in
// header groups j.. (suffix) or row groups ..i in header groups ..j (prefix).
class Embeddings {
  public:
    Embeddings(const std::vector<int>& header, const std::vector<int>& row)
        : header_(header), row_(row), m_(header.size()), n_(row.size()) {
        prefix_.assign((n_ + 1) * (m_ + 1), false);
        suffix_.assign((n_ + 1) * (m_ + 1), false);
        fillPrefix();
        fillSuffix();
    }
    // Whether row group i can be header group j in some placement of all.
    bool canPlace(size_t i, size_t j) const {
        return row_[i] == header_[j] && prefix_[at(i, j)] && suffix_[at(i + 1, j + 1)];
    }
    size_t headerCount() const { return m_; }

  private:
    size_t at(size_t i, size_t j) const { return i * (m_ + 1) + j; }
    void fillPrefix() {
        for (size_t j = 0; j <= m_; ++j) prefix_[at(0, j)] = true;
        for (size_t i = 1; i <= n_; ++i)
            for (size_t j = 1; j <= m_; ++j)
                prefix_[at(i, j)] = prefix_[at(i, j - 1)] ||
                                    (row_[i - 1] == header_[j - 1] && prefix_[at(i - 1, j - 1)]);
    }
    void fillSuffix() {
        for (size_t j = 0; j <= m_; ++j) suffix_[at(n_, j)] = true;
        for (size_t i = n_; i-- > 0;)
            for (size_t j = m_; j-- > 0;)
                suffix_[at(i, j)] =
                    suffix_[at(i, j + 1)] || (row_[i] == header_[j] && suffix_[at(i + 1, j + 1)]);
    }

    const std::vector<int>& header_;
    const std::vector<int>& row_;
    size_t m_, n_;
    std::vector<bool> prefix_, suffix_;
};
}  // namespace

void alignSolverGroups(const std::vector<int>& headerCounts, const std::vector<int>& rowCounts,
                       std::vector<int>& placement) {
    placement.assign(rowCounts.size(), -1);
    if (rowCounts == headerCounts) {  // the usual row: every field solved
        for (size_t i = 0; i < placement.size(); ++i) placement[i] = static_cast<int>(i);
        return;
    }
    Embeddings embeddings(headerCounts, rowCounts);
    for (size_t i = 0; i < rowCounts.size(); ++i) {
        int only = -1;
        for (size_t j = 0; j < embeddings.headerCount(); ++j) {
            if (!embeddings.canPlace(i, j)) continue;
            only = only == -1 ? static_cast<int>(j) : -2;
        }
        placement[i] = only >= 0 ? only : -1;
    }
}

}  // namespace mon
