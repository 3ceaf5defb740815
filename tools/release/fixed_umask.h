#pragma once

#include <sys/stat.h>

namespace tamrivo::release {

// While it lives, what the tool and the programs it runs (gpg, reprepro) create gets the
// modes the tool means, whatever umask the publisher started it with: 0600 keys and 0700
// key folders stay as private as they are made, the repository and the reply stay
// readable (0644, 0755) by the web server and writable by the publisher alone.
class FixedUmask {
public:
    FixedUmask() : saved_(::umask(022)) {}
    ~FixedUmask() { ::umask(saved_); }
    FixedUmask(const FixedUmask&) = delete;
    FixedUmask& operator=(const FixedUmask&) = delete;

private:
    mode_t saved_;
};

}  // namespace tamrivo::release
