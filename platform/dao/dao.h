#pragma once
// Placeholder: the database layer over SQLCipher is being written.
namespace dao {
class Database {
public:
    virtual ~Database() = default;
};
}
