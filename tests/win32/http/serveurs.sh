#!/bin/bash
# Serveurs du côté Linux pour les tests du transport WinINet sous wine, sur des ports
# libres de 127.0.0.1 : nginx (plages, statuts, accès protégé, débit limité), tinyproxy
# ouvert, tinyproxy à identifiants (passe / muraille), serveur de pannes (perl).
#   serveurs.sh demarrer DOSSIER : écrit DOSSIER/adresses (ports de nginx, des deux
#                                   tinyproxy et du serveur de pannes, racine servie,
#                                   journal d'accès), une valeur par ligne ;
#   serveurs.sh arreter DOSSIER  : les arrête par leur PID.
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
  local essai pn pt pp pf
  for essai in 1 2 3; do
    pn=$(port_libre)
    configuration_nginx "$pn" > "$d/nginx.conf"
    /usr/sbin/nginx -p "$d" -c "$d/nginx.conf" -e "$d/error.log" > "$d/nginx.sortie" 2>&1 &
    echo $! > "$d/nginx.pid.lance"
    attendre_port "$pn" && break
    kill "$(cat "$d/nginx.pid.lance")" 2>/dev/null || true
    [ "$essai" = 3 ] && { cat "$d/error.log" >&2; exit 1; }
  done
  pt=$(lancer tinyproxy "")
  pp=$(lancer tinyproxy-protege "BasicAuth passe muraille")
  pf=$(lancer pannes "")
  printf '%s\n%s\n%s\n%s\n%s\n%s\n' "$pn" "$pt" "$pp" "$pf" "$d/racine" "$d/access.log" \
    > "$d/adresses"
}

# lancer NOM DIRECTIVE : démarre un tinyproxy (ou le serveur de pannes), écrit son port.
lancer() {
  local nom=$1 essai p
  for essai in 1 2 3; do
    p=$(port_libre)
    if [ "$nom" = pannes ]; then
      perl "$(dirname "$0")/serveur-pannes.pl" "$p" > "$d/$nom.sortie" 2>&1 &
    else
      printf 'Port %s\nListen 127.0.0.1\nTimeout 60\nAllow 127.0.0.1\nMaxClients 20\nLogFile "%s"\nLogLevel Info\n%s\n' \
        "$p" "$d/$nom.log" "$2" > "$d/$nom.conf"
      /usr/bin/tinyproxy -d -c "$d/$nom.conf" > "$d/$nom.sortie" 2>&1 &
    fi
    echo $! > "$d/$nom.pid.lance"
    attendre_port "$p" && { echo "$p"; return; }
    kill "$(cat "$d/$nom.pid.lance")" 2>/dev/null || true
  done
  cat "$d/$nom.sortie" >&2
  exit 1
}

arreter() {
  for f in "$d"/*.pid.lance; do
    [ -f "$f" ] && kill "$(cat "$f")" 2>/dev/null || true
  done
  rm -f "$d/adresses"
}

"$action"
