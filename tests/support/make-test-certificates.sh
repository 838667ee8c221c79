#!/bin/sh
# Writes the certificates of the tests' HTTPS servers into the folder given: a test certificate
# authority that only the tests trust (ca.pem), a server certificate it signed for the test names
# and loopback addresses (server.pem, server.key), one for another name (other-name.pem), and one
# signed by an authority nobody trusts (untrusted.pem). Elliptic-curve keys keep it quick.
set -eu
out=$1
mkdir -p "$out"
cd "$out"
key() { openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out "$1" 2>/dev/null; }
authority() { # key file, certificate file, name
    key "$1"
    openssl req -x509 -new -key "$1" -out "$2" -days 3650 -subj "/CN=$3" \
        -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"
}
server() { # certificate file, authority key, authority certificate, subjectAltName
    openssl req -new -key server.key -subj "/CN=Kelvane test server" -out server.csr
    printf 'basicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\nsubjectAltName=%s\n' "$4" > ext.cnf
    openssl x509 -req -in server.csr -CA "$3" -CAkey "$2" -set_serial "0x$(openssl rand -hex 8)" \
        -days 3650 -extfile ext.cnf -out "$1" 2>/dev/null
}
names="DNS:rdap.kelvane.test,DNS:localhost,IP:127.0.0.1,IP:127.0.0.2,IP:::1"
authority ca.key ca.pem "Kelvane Test CA"
authority stranger.key stranger.pem "Untrusted Test CA"
key server.key
server server.pem ca.key ca.pem "$names"
server other-name.pem ca.key ca.pem "DNS:other.kelvane.test"
server untrusted.pem stranger.key stranger.pem "$names"
rm -f server.csr ext.cnf
