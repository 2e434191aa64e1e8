#!/bin/bash
# Serveurs du côté Linux pour les tests du transport WinINet sous wine : nginx (plages,
# statuts, accès protégé, débit limité) et tinyproxy, sur des ports libres de 127.0.0.1.
#   serveurs.sh demarrer DOSSIER : écrit DOSSIER/adresses (port nginx, port tinyproxy,
#                                   racine servie, journal d'accès), une valeur par ligne ;
#   serveurs.sh arreter DOSSIER  : arrête les deux par leur PID.
set -eu
action=$1
d=$(realpath -m "$2")

port_libre() {
  local p
  for _ in $(seq 50); do
    p=$((20000 + RANDOM % 40000))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null; then echo "$p"; return; fi
  done
  return 1
}

attendre_port() {
  for _ in $(seq 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

configuration_nginx() {
  cat <<FIN
daemon off;
master_process off;
worker_processes 1;
pid $d/nginx.pid;
error_log $d/error.log warn;
events { worker_connections 256; }
http {
  log_format emporteur '\$connection \$status "\$request" "\$http_range" \$bytes_sent '
                       '"\$http_user_agent" "\$http_accept_encoding" "\$http_cache_control" '
                       '"\$http_pragma" "\$http_via"';
  access_log $d/access.log emporteur;
  client_body_temp_path $d/temp; proxy_temp_path $d/temp; fastcgi_temp_path $d/temp;
  uwsgi_temp_path $d/temp; scgi_temp_path $d/temp;
  keepalive_requests 100000;
  default_type application/octet-stream;
  server {
    listen 127.0.0.1:$1;
    root $d/racine;
    location /prive/ { auth_basic "Emporteur"; auth_basic_user_file $d/htpasswd; }
    location /lent/ { limit_rate 128k; }
    location /compresse/ { add_header Content-Encoding gzip; }
$(for s in 400 403 410 417 500 503; do echo "    location = /statut/$s { return $s; }"; done)
  }
}
FIN
}

demarrer() {
  rm -rf "$d"
  mkdir -p "$d/racine" "$d/temp"
  echo "anne:$(openssl passwd -apr1 secret)" > "$d/htpasswd"
  local essai pn pt
  for essai in 1 2 3; do
    pn=$(port_libre)
    configuration_nginx "$pn" > "$d/nginx.conf"
    /usr/sbin/nginx -p "$d" -c "$d/nginx.conf" -e "$d/error.log" > "$d/nginx.sortie" 2>&1 &
    echo $! > "$d/nginx.pid.lance"
    attendre_port "$pn" && break
    kill "$(cat "$d/nginx.pid.lance")" 2>/dev/null || true
    [ "$essai" = 3 ] && { cat "$d/error.log" >&2; exit 1; }
  done
  for essai in 1 2 3; do
    pt=$(port_libre)
    printf 'Port %s\nListen 127.0.0.1\nTimeout 60\nAllow 127.0.0.1\nMaxClients 20\nLogFile "%s"\nLogLevel Info\n' \
      "$pt" "$d/tinyproxy.log" > "$d/tinyproxy.conf"
    /usr/bin/tinyproxy -d -c "$d/tinyproxy.conf" > "$d/tinyproxy.sortie" 2>&1 &
    echo $! > "$d/tinyproxy.pid.lance"
    attendre_port "$pt" && break
    kill "$(cat "$d/tinyproxy.pid.lance")" 2>/dev/null || true
    [ "$essai" = 3 ] && { cat "$d/tinyproxy.sortie" >&2; exit 1; }
  done
  printf '%s\n%s\n%s\n%s\n' "$pn" "$pt" "$d/racine" "$d/access.log" > "$d/adresses"
}

arreter() {
  for f in "$d/nginx.pid.lance" "$d/tinyproxy.pid.lance"; do
    [ -f "$f" ] && kill "$(cat "$f")" 2>/dev/null || true
  done
  rm -f "$d/adresses"
}

"$action"
