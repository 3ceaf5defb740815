# The Debian packages Tamrivo needs to build, run and test: the same names on Debian 12 and 13.
packages=(
    cmake ninja-build g++ pkg-config ccache
    # Qt Charts' CMake files need Qt's OpenGL ones, which qt6-charts-dev does not pull in.
    qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev fonts-wqy-microhei fonts-noto-cjk
    libsqlcipher-dev sqlcipher libssl-dev
    # Argon2id, the AEAD and secure memory behind protected records' key slots.
    libsodium-dev
    # iCalendar feeds of the booking platforms, read and written.
    libical-dev
    libcurl4-openssl-dev duktape-dev libzip-dev
    libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev curl nginx
    qt6-translations-l10n
    librsvg2-bin dpkg-dev file lintian appstream desktop-file-utils
    xvfb xdotool debootstrap poppler-utils
    reprepro gnupg gpgv sqv
)
